#include "desktop/win32/windowed_component.h"

#include <mutex>
#include <system_error>

namespace vimbrel::win32 {
namespace {

constexpr char kClassName[] = "VimbrelWindowedComponent";

void RegisterWindowClass(WNDPROC proc) {
    static std::once_flag once;
    std::call_once(once, [proc] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        ::RegisterClassExA(&wc);
    });
}

}  // namespace

TWindowedComponent::~TWindowedComponent() {
    if (!hwnd_) return;
    // The derived part is gone already: the last messages take the default path.
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
}

HWND TWindowedComponent::Handle() {
    if (hwnd_) return hwnd_;
    RegisterWindowClass(&StaticWndProc);
    // A top-level window (never shown) rather than a message-only one, so that it also
    // gets broadcasts such as the taskbar's "TaskbarCreated".
    HWND hwnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), this);
    if (!hwnd) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateWindowExA");
    return hwnd_ = hwnd;
}

LRESULT TWindowedComponent::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TWindowedComponent::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd_ ? ::DefWindowProcA(hwnd_, message, wParam, lParam) : 0;
}

LRESULT CALLBACK TWindowedComponent::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TWindowedComponent*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TWindowedComponent*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed from outside: a later Handle() makes a new window.
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        return self->WndProc(message, wParam, lParam);
    } catch (...) {
        try {
            if (self->OnWndProcError) self->OnWndProcError(std::current_exception());
        } catch (...) {
        }
        return 0;
    }
}

}  // namespace vimbrel::win32
