#pragma once
// A component that owns a hidden window so it can receive window messages. The window is
// made on the first call of Handle() and destroyed with the component; every message goes
// to the virtual WndProc, and its failures go to the program's failure handler.
#include <windows.h>

#include "util/win32/window_base.h"

namespace vimbrel::win32 {

class TWindowedComponent : public WindowBase {
public:
    TWindowedComponent() = default;

    // The hidden window, made on the first call (on the calling thread, whose message
    // queue then receives its messages). Throws std::system_error when it cannot be made.
    HWND Handle();
    bool HandleAllocated() const { return hwnd_ != nullptr; }

protected:
    // Messages without a handler go to DefaultHandler.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final { return WndProc(message, wParam, lParam); }
};

}  // namespace vimbrel::win32
