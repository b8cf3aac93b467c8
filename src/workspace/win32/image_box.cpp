#include "workspace/win32/image_box.h"

#include <windowsx.h>

#include <algorithm>

#include "workspace/current_image.h"
#include "util/win32/gdi_handles.h"
#include "workspace/win32/dib.h"
#include "commands/win32/help_cursor.h"
#include "util/win32/scrolling.h"

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
    origin_.x = SetScrollExtent(hwnd_, SB_HORZ, shown_->Width(), client.right, origin_.x);
    origin_.y = SetScrollExtent(hwnd_, SB_VERT, shown_->Height(), client.bottom, origin_.y);
}

void ImageBox::Scroll(int bar, int code) {
    const int line = bar == SB_HORZ ? kScrollLineStepX : kScrollLineStepY;
    ApplyScrollRequest(hwnd_, bar, code, line, bar == SB_HORZ ? origin_.x : origin_.y);
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
    case ImagePointer::Help: return HelpSlotCursor();
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
