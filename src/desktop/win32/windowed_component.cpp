#include "desktop/win32/windowed_component.h"

#include <system_error>

namespace vimbrel::win32 {

HWND TWindowedComponent::Handle() {
    if (hwnd_) return hwnd_;
    RegisterWindowClass({.name = "VimbrelWindowedComponent"});
    // A top-level window (never shown) rather than a message-only one, so that it also
    // gets broadcasts such as the taskbar's "TaskbarCreated".
    HWND hwnd = CreateFor({.exStyle = WS_EX_TOOLWINDOW,
                           .className = "VimbrelWindowedComponent",
                           .style = WS_POPUP,
                           .x = 0,
                           .y = 0,
                           .width = 0,
                           .height = 0});
    if (!hwnd) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateWindowExA");
    return hwnd;
}

LRESULT TWindowedComponent::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

}  // namespace vimbrel::win32
