#include "desktop/win32/tray_icon.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vimbrel::win32 {
namespace {

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

NOTIFYICONDATAA MakeNotifyIconData(HWND window, const TrayIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = record.Flags;
    data.uCallbackMessage = record.CallbackMessage;
    data.hIcon = ToHIcon(record.Icon);
    const std::size_t n = std::min(record.Tip.size(), kTrayTipLength);
    std::memcpy(data.szTip, record.Tip.data(), n);
    data.szTip[n] = '\0';
    if (record.Flags & NIF_INFO_FLAG) {
        // Balloons came with the second layout.
        data.cbSize = NOTIFYICONDATAA_V2_SIZE;
        const std::size_t info = std::min(record.Info.size(), sizeof data.szInfo - 1);
        std::memcpy(data.szInfo, record.Info.data(), info);
        data.szInfo[info] = '\0';
        const std::size_t title = std::min(record.InfoTitle.size(), sizeof data.szInfoTitle - 1);
        std::memcpy(data.szInfoTitle, record.InfoTitle.data(), title);
        data.szInfoTitle[title] = '\0';
        data.uTimeout = 15000;
        data.dwInfoFlags = NIIF_WARNING;
    }
    return data;
}

HICON IconFromIconFile(const std::vector<std::uint8_t>& data) {
    // ICONDIR: reserved 0, type 1, count; then 16-byte entries.
    if (data.size() < 6 || data[0] | data[1] || data[2] != 1 || data[3] != 0) return nullptr;
    const std::size_t count = static_cast<std::size_t>(data[4] | data[5] << 8);
    if (count == 0 || data.size() < 6 + 16 * count) return nullptr;
    std::size_t best = 0;
    int bestDistance = INT32_MAX;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data.data() + 6 + 16 * i;
        const int w = e[0] ? e[0] : 256;
        const int distance = std::abs(w - 16);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    const std::uint8_t* e = data.data() + 6 + 16 * best;
    const std::uint32_t size = ReadU32(e + 8);
    const std::uint32_t offset = ReadU32(e + 12);
    if (size < 40 || offset > data.size() || size > data.size() - offset) return nullptr;
    std::vector<BYTE> image(data.begin() + offset, data.begin() + offset + size);
    return ::CreateIconFromResourceEx(image.data(), size, TRUE, 0x00030000, 16, 16, LR_DEFAULTCOLOR);
}

LRESULT TrayIconWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tray_) {
        if (tray_->HandleCallback(message, wParam, lParam)) return 0;
        if (message == TaskbarCreatedMessage()) {
            tray_->TaskbarRecreated();
            return 0;
        }
    }
    return DefaultHandler(message, wParam, lParam);
}

std::uint32_t WinTrayShell::CallbackMessage() {
    static const UINT message = ::RegisterWindowMessageA("TAnimatedTrayIconCallBackMsg");
    return message;
}

bool WinTrayShell::NotifyIcon(TrayOperation operation, const TrayIconRecord& record) {
    NOTIFYICONDATAA data = MakeNotifyIconData(receiver_.Handle(), record);
    return ::Shell_NotifyIconA(static_cast<DWORD>(operation), &data) != FALSE;
}

bool WinTrayShell::TaskbarExists() { return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }

bool WinTrayShell::WaitForTaskbar() {
    // Let messages run while waiting, without spinning.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the message loop, which ends the program.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

TShiftState WinTrayShell::ShiftState() {
    TShiftState s = 0;
    if (::GetAsyncKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (::GetAsyncKeyState(VK_MENU) < 0) s |= ssAlt;
    if (::GetAsyncKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    return s;
}

void WinTrayShell::ShowPopupMenu(MenuHandle menu) {
    // Without the foreground switch before and the posted message after, the menu would
    // not close when the user clicks elsewhere.
    HWND active = ::GetActiveWindow();
    ::SetForegroundWindow(active ? active : owner_);
    POINT pt{};
    ::GetCursorPos(&pt);
    ::TrackPopupMenu(reinterpret_cast<HMENU>(menu), TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner_, nullptr);
    ::PostMessageA(owner_, WM_USER, 0, 0);
}

void WinTrayShell::HideApplicationButton() {
    // The button belongs to the hidden application window that owns the window, when there
    // is one: it takes the tool-window style and the window keeps its own frame. A window
    // with no owner carries its own button and takes the style itself.
    HWND application = ::GetWindow(owner_, GW_OWNER);
    HWND target = application ? application : owner_;
    const LONG_PTR style = ::GetWindowLongPtrA(target, GWL_EXSTYLE);
    ::SetWindowLongPtrA(target, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
}

IconHandle WinTrayShell::DefaultIcon() {
    HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), "TRAYICON", IMAGE_ICON, 16, 16, 0);
    // A program built without the resource still shows something.
    if (!icon) return ToIconHandle(::CopyIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
    return ToIconHandle(static_cast<HICON>(icon));
}

IconHandle WinTrayShell::CopyIcon(IconHandle icon) { return ToIconHandle(::CopyIcon(ToHIcon(icon))); }

IconHandle WinTrayShell::IconFromData(const std::vector<std::uint8_t>& data) {
    return ToIconHandle(IconFromIconFile(data));
}

void WinTrayShell::DestroyIcon(IconHandle icon) { ::DestroyIcon(ToHIcon(icon)); }

TrayIconHost::TrayIconHost(HWND owner, TTimerPool& pool) : shell_(window_, owner), tray_(shell_, pool) {
    window_.SetTray(&tray_);
}

TrayIconHost::~TrayIconHost() { window_.SetTray(nullptr); }

}  // namespace vimbrel::win32
