#pragma once
// The capture and edit commands' Windows side: the desktop around a capture and the clipboard.
#include <windows.h>

#include <string>

#include "capture/capture_commands.h"
#include "workspace/edit_commands.h"

namespace vimbrel::win32 {

class WinCaptureDesktop final : public CaptureDesktop {
public:
    explicit WinCaptureDesktop(std::string title) : title_(std::move(title)) {}

    bool ConsoleInForeground() override;
    WindowId CaptureTarget(WindowId remembered) override;
    void BringToFront(WindowId window) override;
    std::string WindowTitle(WindowId window) override;
    void Pause(int milliseconds) override;
    bool AskOkCancel(const std::string& text) override;

private:
    std::string title_;
};

// Clipboard failures (it cannot be opened, a bitmap cannot be made or read) throw
// std::runtime_error, which the program's handler reports.
class WinClipboard final : public Clipboard {
public:
    explicit WinClipboard(HWND owner) : owner_(owner) {}
    void PutBitmap(const Bitmap& picture) override;
    bool HasBitmap() override { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }
    bool HasText() override { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; }
    std::optional<Bitmap> GetBitmap() override;
    bool HoldsOwnCopy() override;

private:
    HWND owner_;
    DWORD ownSequence_ = 0;  // the clipboard's sequence number once our last copy was on it
};

// The stamps with the system's cursors, drawn at their natural size.
class WinStampPainter final : public StampPainter {
public:
    void Draw(int stamp, Bitmap& picture, Point at) override;
};

}  // namespace vimbrel::win32
