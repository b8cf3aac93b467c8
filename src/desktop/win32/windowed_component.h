#pragma once
// A component that owns a hidden window so it can receive window messages. The window is
// made on the first call of Handle() and destroyed with the component; every message goes
// to the virtual WndProc, and no exception gets out into Windows.
#include <windows.h>

#include <exception>
#include <functional>

namespace vimbrel::win32 {

class TWindowedComponent {
public:
    TWindowedComponent() = default;
    virtual ~TWindowedComponent();
    TWindowedComponent(const TWindowedComponent&) = delete;
    TWindowedComponent& operator=(const TWindowedComponent&) = delete;

    // The hidden window, made on the first call (on the calling thread, whose message
    // queue then receives its messages). Throws std::system_error when it cannot be made.
    HWND Handle();
    bool HandleAllocated() const { return hwnd_ != nullptr; }

    // Called with a failure that WndProc let out; without a handler it is dropped.
    std::function<void(std::exception_ptr)> OnWndProcError;

protected:
    // Messages without a handler go to DefaultHandler.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace vimbrel::win32
