#pragma once
// Where dialogs go: beside their owner, framed around the client area they were designed for.
#include <windows.h>

#include <optional>

namespace vimbrel::win32 {

// The point dx, dy pixels right of and below the owner's top-left corner; the screen's
// corner stands in for a missing owner.
inline POINT BesideOwner(HWND owner, int dx, int dy) {
    RECT r{};
    if (owner) ::GetWindowRect(owner, &r);
    return POINT{r.left + dx, r.top + dy};
}

// Moves the window's top-left corner to `at`; with a client size, sizes its frame around
// that client area at the window's own density.
inline void PlaceWindow(HWND window, POINT at, std::optional<SIZE> client = std::nullopt) {
    UINT flags = SWP_NOZORDER;
    RECT frame{0, 0, 0, 0};
    if (client) {
        frame = RECT{0, 0, client->cx, client->cy};
        ::AdjustWindowRectExForDpi(&frame, DWORD(::GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                                   DWORD(::GetWindowLongPtrA(window, GWL_EXSTYLE)), ::GetDpiForWindow(window));
    } else {
        flags |= SWP_NOSIZE;
    }
    ::SetWindowPos(window, nullptr, at.x, at.y, frame.right - frame.left, frame.bottom - frame.top, flags);
}

}  // namespace vimbrel::win32
