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
    if (HasOverlay && OnPaintOver && HasOverlay() && !shown_->Empty()) {
        PaintComposed(dc.get(), dc.Area());
        return;
    }
    DrawBitmap(dc.get(), *shown_, -origin_.x, -origin_.y, shown_->Width(), shown_->Height());
}

void ImageBox::PaintComposed(HDC dc, const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    if (composed_.Width() != w || composed_.Height() != h) composed_ = Bitmap::Unfilled(w, h, 24);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const Point origin{origin_.x + area.left, origin_.y + area.top};
    const Bitmap& shown = *shown_;
    const int bytes = shown.BitsPerPixel() / 8;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = composed_.Row(y);
        const int sy = origin.y + y;
        for (int x = 0; x < w; ++x, out += 3) {
            const int sx = origin.x + x;
            if (sy >= 0 && sy < shown.Height() && sx >= 0 && sx < shown.Width() && bytes >= 3) {
                const std::uint8_t* in = shown.Row(sy) + std::size_t(sx) * std::size_t(bytes);
                out[0] = in[0], out[1] = in[1], out[2] = in[2];
            } else if (sy >= 0 && sy < shown.Height() && sx >= 0 && sx < shown.Width()) {
                const RgbQuad c = shown.PixelColour(sx, sy);
                out[0] = c.blue, out[1] = c.green, out[2] = c.red;
            } else {
                out[0] = GetBValue(face), out[1] = GetGValue(face), out[2] = GetRValue(face);
            }
        }
    }
    OnPaintOver(composed_, origin, Rect::At(0, 0, w, h));
    const DibInfo info = MakeDibInfo(composed_);
    ::SetDIBitsToDevice(dc, area.left, area.top, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), composed_.Data(), info.get(),
                        DIB_RGB_COLORS);
}

void ImageBox::InvalidateShown(const Rect& shown) {
    if (!hwnd_) return;
    RECT r{shown.left - origin_.x, shown.top - origin_.y, shown.right - origin_.x, shown.bottom - origin_.y};
    // Erased first when no overlay paints every pixel itself (the last mark just went).
    ::InvalidateRect(hwnd_, &r, TRUE);
}

void ImageBox::InvalidateAll() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
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
    case ImagePointer::Cross: return ::LoadCursorA(nullptr, IDC_CROSS);
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
    case WM_ERASEBKGND:
        // A composed paint covers every pixel itself.
        if (HasOverlay && HasOverlay() && !shown_->Empty()) return 1;
        return Default(msg, wp, lp);
    case WM_SIZE: UpdateScrollBars(); return 0;
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wp)); return 0;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wp)); return 0;
    case WM_CONTEXTMENU: ::SendMessageA(::GetParent(hwnd_), WM_CONTEXTMENU, WPARAM(hwnd_), lp); return 0;
    default: return Default(msg, wp, lp);
    }
}

}  // namespace vimbrel::win32
