#pragma once
// A window's own scroll bars over content larger than its client area: the ranges, and
// where a scroll request moves them.
#include <windows.h>

#include <algorithm>

namespace vimbrel::win32 {

// The bar spans content pixels with page of them visible; the position is kept inside and
// returned.
inline LONG SetScrollExtent(HWND window, int bar, int content, int page, LONG position) {
    position = std::clamp<LONG>(position, 0, std::max(0, content - page));
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(0, content - 1),
                  UINT(std::max(0, page)), int(position), 0};
    ::SetScrollInfo(window, bar, &si, TRUE);
    return position;
}

// Moves the bar for a WM_HSCROLL / WM_VSCROLL request (line steps of line pixels) and
// repaints; false when the request moves nothing. position takes the new place.
inline bool ApplyScrollRequest(HWND window, int bar, int code, int line, LONG& position) {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(window, bar, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= int(si.nPage); break;
    case SB_PAGEDOWN: pos += int(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return false;
    }
    pos = std::clamp(pos, 0, std::max(0, si.nMax - int(si.nPage) + 1));
    position = pos;
    si.fMask = SIF_POS;
    si.nPos = pos;
    ::SetScrollInfo(window, bar, &si, TRUE);
    ::InvalidateRect(window, nullptr, TRUE);
    return true;
}

}  // namespace vimbrel::win32
