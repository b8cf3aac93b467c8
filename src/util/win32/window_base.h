#pragma once
// One base for every window the program makes: the object is found from the window at
// WM_NCCREATE, each message goes to its HandleMessage, and nothing thrown there ever
// crosses into Windows. Failures go to the program's failure handler.
#include <windows.h>

#include <exception>

namespace vimbrel::win32 {

// The program's exception handler for failures that reach a window or dialog procedure.
// Until one is set they are dropped.
using WindowFailureHandler = void (*)(HWND owner, std::exception_ptr failure);
void SetWindowFailureHandler(WindowFailureHandler handler);
void ReportWindowFailure(HWND owner, std::exception_ptr failure) noexcept;

// Runs work; a failure goes to the failure handler and the caller goes on.
template <class F>
void RunReported(HWND owner, F&& work) noexcept {
    try {
        work();
    } catch (...) {
        ReportWindowFailure(owner, std::current_exception());
    }
}

struct WindowClass {
    const char* name = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr, smallIcon = nullptr;
    UINT style = 0;  // CS_DBLCLKS for windows that take double clicks
};

struct WindowArgs {
    DWORD exStyle = 0;
    const char* className = nullptr;
    const char* title = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menu = nullptr;  // taken by the window once it exists
};

class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Hwnd() const { return hwnd_; }

protected:
    WindowBase() = default;
    // A window still there is destroyed; its last messages take the default path, as the
    // derived part is gone by now.
    virtual ~WindowBase();

    // Registers a class whose procedure is the base's, unless it exists already.
    static void RegisterWindowClass(const WindowClass& windowClass);
    // Makes the window for this object. Null when it could not be made.
    HWND CreateFor(const WindowArgs& args);
    void DestroyOwnedWindow();

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A failure HandleMessage let out; by default it goes to the failure handler.
    virtual void OnFailure(std::exception_ptr failure);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A dialog procedure whose failures go to the failure handler (the message then counts
// as not handled).
template <INT_PTR (*Proc)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK GuardedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Proc(dialog, message, wParam, lParam);
    } catch (...) {
        ReportWindowFailure(dialog, std::current_exception());
        return FALSE;
    }
}

// The same for a common dialog's hook procedure, which returns UINT_PTR.
template <UINT_PTR (*Proc)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR AsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return INT_PTR(Proc(dialog, message, wParam, lParam));
}
template <UINT_PTR (*Proc)(HWND, UINT, WPARAM, LPARAM)>
UINT_PTR CALLBACK GuardedHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return UINT_PTR(GuardedDialogProc<AsDialogProc<Proc>>(dialog, message, wParam, lParam));
}

// Lets the messages waiting in this thread's queue run. A WM_QUIT met on the way is put
// back for the message loop and ends the pass: then false, the program is ending and the
// caller should stop what it was doing.
bool ProcessPendingMessages();

}  // namespace vimbrel::win32
