#include "app/win32/image_box.h"

#include <windowsx.h>

#include <algorithm>

#include "workspace/current_image.h"
#include "util/win32/gdi_handles.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {

HWND ImageBox::Create(HWND parent, int id) {
    RegisterWindowClass({.name = kClassName,
                         .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
                         .background = HBRUSH(COLOR_BTNFACE + 1)});
    return CreateFor({.exStyle = WS_EX_CLIENTEDGE,
                      .className = kClassName,
                      .style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                      .x = 0,
                      .y = 0,
                      .width = 0,
                      .height = 0,
                      .parent = parent,
                      .menu = HMENU(INT_PTR(id))});
}

void ImageBox::Show(const Bitmap& picture) {
    shown_ = &picture;
    origin_ = {0, 0};
    if (!hwnd_) return;
    UpdateScrollBars();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ImageBox::UpdateScrollBars() {
    RECT client;
    ::GetClientRect(hwnd_, &client);
    auto setBar = [&](int bar, int size, int page, LONG& pos) {
        pos = std::clamp<LONG>(pos, 0, std::max(0, size - page));
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(0, size - 1),
                      UINT(std::max(0, page)), int(pos), 0};
        ::SetScrollInfo(hwnd_, bar, &si, TRUE);
    };
    setBar(SB_HORZ, shown_->Width(), client.right, origin_.x);
    setBar(SB_VERT, shown_->Height(), client.bottom, origin_.y);
}

void ImageBox::Scroll(int bar, int code) {
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(hwnd_, bar, &si);
    const int line = bar == SB_HORZ ? kScrollLineStepX : kScrollLineStepY;
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
    default: return;
    }
    pos = std::clamp(pos, 0, std::max(0, si.nMax - int(si.nPage) + 1));
    (bar == SB_HORZ ? origin_.x : origin_.y) = pos;
    si.fMask = SIF_POS;
    si.nPos = pos;
    ::SetScrollInfo(hwnd_, bar, &si, TRUE);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ImageBox::Paint() {
    PaintDC dc(hwnd_);
    DrawBitmap(dc.get(), *shown_, -origin_.x, -origin_.y, shown_->Width(), shown_->Height());
}

void ImageBox::SetPointer(ImagePointer pointer) {
    pointer_ = pointer;
    POINT at;
    if (hwnd_ && ::GetCursorPos(&at) && ::WindowFromPoint(at) == hwnd_)
        ::SendMessageA(hwnd_, WM_SETCURSOR, WPARAM(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

bool ImageBox::Scrollable() const {
    RECT client{};
    if (hwnd_) ::GetClientRect(hwnd_, &client);
    return shown_->Width() > client.right || shown_->Height() > client.bottom;
}

Point ImageBox::PictureAt(LPARAM lp) const { return Point{GET_X_LPARAM(lp) + origin_.x, GET_Y_LPARAM(lp) + origin_.y}; }

namespace {
HCURSOR PointerCursor(ImagePointer pointer) {
    switch (pointer) {
    case ImagePointer::HandPoint: return ::LoadCursorA(nullptr, IDC_HAND);
    case ImagePointer::NoDrop: return ::LoadCursorA(nullptr, IDC_NO);
    case ImagePointer::Help: return ::LoadCursorA(nullptr, IDC_HELP);
    case ImagePointer::HandDrag: {
        HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), "HANDDRAG");
        return hand ? hand : ::LoadCursorA(nullptr, IDC_SIZEALL);
    }
    default: return ::LoadCursorA(nullptr, IDC_ARROW);
    }
}

MouseButton ButtonOf(UINT msg) {
    switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Left;
    }
}
}  // namespace

LRESULT ImageBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        if (LOWORD(lp) != HTCLIENT) return Default(msg, wp, lp);
        ::SetCursor(PointerCursor(pointer_));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ::SetCapture(hwnd_);
        if (OnMouseDown) OnMouseDown(ButtonOf(msg), PictureAt(lp));
        return 0;
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(PictureAt(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (::GetCapture() == hwnd_) ::ReleaseCapture();
        if (OnMouseUp) OnMouseUp(ButtonOf(msg), PictureAt(lp));
        // The right button's release goes on to become the picture menu's WM_CONTEXTMENU.
        return msg == WM_RBUTTONUP ? Default(msg, wp, lp) : 0;
    case WM_PAINT: Paint(); return 0;
    case WM_SIZE: UpdateScrollBars(); return 0;
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wp)); return 0;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wp)); return 0;
    case WM_CONTEXTMENU: ::SendMessageA(::GetParent(hwnd_), WM_CONTEXTMENU, WPARAM(hwnd_), lp); return 0;
    default: return Default(msg, wp, lp);
    }
}

}  // namespace vimbrel::win32
