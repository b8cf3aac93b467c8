#pragma once
// One window procedure for every window class the program registers: `this` is stored at
// WM_NCCREATE and each message goes to the derived class's HandleMessage. Exceptions stop
// here and go to the application's handler; none crosses into Windows.
#include <windows.h>

#include <exception>

namespace vimbrel::win32 {

// The application's exception handler (exception_handler.h).
void ReportException(HWND owner, std::exception_ptr failure);

template <class Derived>
class BaseWindow {
public:
    HWND Handle() const { return hwnd_; }

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
            self = static_cast<Derived*>(cs->lpCreateParams);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
        try {
            LRESULT result = self->HandleMessage(msg, wp, lp);
            if (msg == WM_NCDESTROY) {
                ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
                self->hwnd_ = nullptr;
            }
            return result;
        } catch (...) {
            ReportException(hwnd, std::current_exception());
            return 0;
        }
    }

    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(hwnd_, msg, wp, lp); }

    HWND hwnd_ = nullptr;
};

}  // namespace vimbrel::win32
