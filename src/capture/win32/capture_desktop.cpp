#include "capture/win32/capture_desktop.h"

#include <stdexcept>

#include "capture/win32/screen_grab.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/modal.h"
#include "util/win32/window_base.h"
#include "workspace/win32/dib.h"
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

void WinClipboard::PutBitmap(const Bitmap& picture) {
    // A device-dependent bitmap, as CF_BITMAP readers expect.
    DibInfo info = MakeDibInfo(picture);
    WindowDC screen(nullptr);
    GdiBitmap bitmap(::CreateDIBitmap(screen.get(), &info.header, CBM_INIT, picture.Data(), info.get(), DIB_RGB_COLORS));
    if (!bitmap) throw std::runtime_error("The picture could not be put on the clipboard");
    {
        OpenClipboardScope clipboard(owner_);
        if (!clipboard) throw std::runtime_error("The clipboard could not be opened");
        ::EmptyClipboard();
        if (!::SetClipboardData(CF_BITMAP, bitmap.get()))
            throw std::runtime_error("The picture could not be put on the clipboard");
        bitmap.release();  // the clipboard owns it now
    }
    ownSequence_ = ::GetClipboardSequenceNumber();
}

bool WinClipboard::HoldsOwnCopy() {
    DWORD ownerProcess = 0;
    if (HWND owner = ::GetClipboardOwner()) ::GetWindowThreadProcessId(owner, &ownerProcess);
    if (ownerProcess == ::GetCurrentProcessId()) return true;
    return ownSequence_ != 0 && ::GetClipboardSequenceNumber() == ownSequence_;
}

std::optional<Bitmap> WinClipboard::GetBitmap() {
    OpenClipboardScope clipboard(owner_);
    if (!clipboard) throw std::runtime_error("The clipboard could not be opened");
    // The clipboard keeps the handle; its pixels are copied out while it is open.
    HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    if (!bitmap) return std::nullopt;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    return BitmapFromHbitmap(bitmap, info.bmBitsPixel == 32 ? 32 : 24);
}

void WinStampPainter::Draw(int stamp, Bitmap& picture, Point at) {
    if (HCURSOR cursor = StampCursor(stamp)) DrawCursorInto(picture, cursor, at, DI_NORMAL);
}

}  // namespace vimbrel::win32
