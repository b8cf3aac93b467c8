#include "desktop/win32/picture_box.h"

#include "util/win32/gdi_handles.h"
#include "util/win32/rect_conversions.h"

namespace vimbrel::win32 {

Rect ClientRect(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return FromRECT(r);
}

void MoveTo(HWND window, const Rect& r) { ::MoveWindow(window, r.left, r.top, r.Width(), r.Height(), TRUE); }

PictureBox::PictureBox(HWND parent, int id, DWORD style, Painter paint, std::function<void()> doubleClick)
    : paint_(std::move(paint)), doubleClick_(std::move(doubleClick)) {
    RegisterWindowClass(WindowClass{.name = kClassName,
                                    .cursor = ::LoadCursorA(nullptr, IDC_ARROW),
                                    .style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW});
    CreateFor(WindowArgs{.className = kClassName,
                         .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                         .x = 0, .y = 0, .width = 0, .height = 0,
                         .parent = parent,
                         .menu = reinterpret_cast<HMENU>(INT_PTR(id))});
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the painter covers every pixel
    case WM_PAINT: {
        PaintDC dc(hwnd_);
        paint_(dc.get(), ClientRect(hwnd_));
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (doubleClick_) doubleClick_();
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

}  // namespace vimbrel::win32
