#include "util/win32/window_base.h"

#include <atomic>

namespace vimbrel::win32 {
namespace {
std::atomic<WindowFailureHandler> failureHandler{nullptr};
}

void SetWindowFailureHandler(WindowFailureHandler handler) { failureHandler = handler; }

void ReportWindowFailure(HWND owner, std::exception_ptr failure) noexcept {
    WindowFailureHandler handler = failureHandler;
    if (!handler) return;
    try {
        handler(owner, std::move(failure));
    } catch (...) {
        // The handler itself failed: nothing more can be told.
    }
}

WindowBase::~WindowBase() { DestroyOwnedWindow(); }

void WindowBase::DestroyOwnedWindow() {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(hwnd);
}

void WindowBase::RegisterWindowClass(const WindowClass& windowClass) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExA(instance, windowClass.name, &wc)) return;
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = &WindowBase::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.smallIcon;
    wc.hCursor = windowClass.cursor;
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    ::RegisterClassExA(&wc);
}

HWND WindowBase::CreateFor(const WindowArgs& a) {
    return ::CreateWindowExA(a.exStyle, a.className, a.title, a.style, a.x, a.y, a.width, a.height, a.parent, a.menu,
                             ::GetModuleHandleA(nullptr), this);
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

void WindowBase::OnFailure(std::exception_ptr failure) { ReportWindowFailure(hwnd_, std::move(failure)); }

LRESULT WindowBase::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd_ ? ::DefWindowProcA(hwnd_, message, wParam, lParam) : 0;
}

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        try {
            self->OnFailure(std::current_exception());
        } catch (...) {
        }
    }
    if (message == WM_NCDESTROY) {
        // Destroyed (from outside, too): the object no longer has a window.
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

bool ProcessPendingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(int(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace vimbrel::win32
