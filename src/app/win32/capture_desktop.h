#pragma once
// The capture and edit commands' Windows side: the desktop around a capture and the clipboard.
#include <windows.h>

#include <string>

#include "app/capture_commands.h"
#include "app/edit_commands.h"

namespace vimbrel::win32 {

class WinCaptureDesktop final : public CaptureDesktop {
public:
    explicit WinCaptureDesktop(std::string title) : title_(std::move(title)) {}

    bool ConsoleInForeground() override;
    void BringToFront(WindowId window) override;
    std::string WindowTitle(WindowId window) override;
    bool LetPendingMessagesRun() override;
    void Pause(int milliseconds) override;
    bool AskOkCancel(const std::string& text) override;
    void ShowNormalPointer() override;

private:
    std::string title_;
};

class WinClipboard final : public Clipboard {
public:
    explicit WinClipboard(HWND owner) : owner_(owner) {}
    // Throws std::runtime_error when the clipboard cannot be opened or take the picture.
    void PutBitmap(const Bitmap& picture) override;

private:
    HWND owner_;
};

}  // namespace vimbrel::win32
