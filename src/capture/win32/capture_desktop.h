#pragma once
// The capture and edit commands' Windows side: the desktop around a capture and the cursor
// stamps.
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

// The stamps with the system's cursors, drawn at their natural size.
class WinStampPainter final : public StampPainter {
public:
    void Draw(int stamp, Bitmap& picture, Point at) override;
};

}  // namespace vimbrel::win32
