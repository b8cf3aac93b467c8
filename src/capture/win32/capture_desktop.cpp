#include "capture/win32/capture_desktop.h"

#include "capture/win32/screen_grab.h"
#include "util/win32/modal.h"
#include "util/win32/window_base.h"
#include "commands/win32/help_cursor.h"

namespace vimbrel::win32 {

bool WinCaptureDesktop::ConsoleInForeground() { return win32::ConsoleInForeground(); }

WindowId WinCaptureDesktop::CaptureTarget(WindowId remembered) {
    return ActiveCaptureTarget(WinWindowQuery(), remembered);
}

void WinCaptureDesktop::BringToFront(WindowId window) { ::SetForegroundWindow(reinterpret_cast<HWND>(window)); }

std::string WinCaptureDesktop::WindowTitle(WindowId window) {
    char title[255] = {};
    int length = ::GetWindowTextA(reinterpret_cast<HWND>(window), title, sizeof title);
    return std::string(title, std::size_t(length > 0 ? length : 0));
}

void WinCaptureDesktop::Pause(int milliseconds) { ::Sleep(DWORD(milliseconds)); }

bool WinCaptureDesktop::AskOkCancel(const std::string& text) {
    return ModalMessageBox(nullptr, text, title_, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

void WinStampPainter::Draw(int stamp, Bitmap& picture, Point at) {
    if (HCURSOR cursor = StampCursor(stamp)) DrawCursorInto(picture, cursor, at, DI_NORMAL);
}

}  // namespace vimbrel::win32
