#include "capture/win32/cap_area.h"

#include <windowsx.h>

#include <stdexcept>

#include "capture/win32/dib_canvas.h"
#include "capture/win32/screen_grab.h"
#include "util/win32/rect_conversions.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {

namespace {
const char kClassName[] = "TfrmCapArea";
}  // namespace

TfrmCapArea::TfrmCapArea(HWND owner)
    : owner_(owner), origin_{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN)} {
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // The overlay always copies with plain SRCCOPY.
    GrabScreenRectWith(Rect{origin_.x, origin_.y, origin_.x + width, origin_.y + height}, screenImage_, SRCCOPY);

    RegisterWindowClass({.name = kClassName, .cursor = ::LoadCursorA(nullptr, IDC_CROSS)});
    if (!CreateFor({.exStyle = WS_EX_TOPMOST,
                    .className = kClassName,
                    .title = "frmCapArea",
                    .style = WS_POPUP,
                    .x = origin_.x,
                    .y = origin_.y,
                    .width = width,
                    .height = height,
                    .parent = owner_}))
        throw std::runtime_error("The area selection window could not be created");
}

void TfrmCapArea::OnFailure(std::exception_ptr failure) {
    failure_ = std::move(failure);
    EndModal(kModalCancel);
}

int TfrmCapArea::ShowModal() {
    modalResult_ = 0;
    failure_ = nullptr;
    // Modal: the program's other windows take no input while the overlay is up.
    const bool ownerWasEnabled = owner_ && ::IsWindowEnabled(owner_);
    if (ownerWasEnabled) ::EnableWindow(owner_, FALSE);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    ::UpdateWindow(hwnd_);
    MSG msg;
    while (modalResult_ == 0) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(int(msg.wParam));  // leave WM_QUIT for the outer loop
            modalResult_ = kModalCancel;
            break;
        }
        if (got == -1) {
            modalResult_ = kModalCancel;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::GetCapture() == hwnd_) ::ReleaseCapture();
    if (ownerWasEnabled) ::EnableWindow(owner_, TRUE);
    ::ShowWindow(hwnd_, SW_HIDE);
    if (failure_) std::rethrow_exception(failure_);
    return modalResult_;
}

void TfrmCapArea::EndModal(int result) {
    if (modalResult_ == 0) modalResult_ = result;
}

void TfrmCapArea::Invert(const SelectionStep& step) {
    if (step.invert.empty()) return;
    WindowDC dc(hwnd_);
    if (!dc) return;
    for (const Rect& r : step.invert) {
        const RECT frame = ToRECT(r);
        ::DrawFocusRect(dc.get(), &frame);
    }
}

void TfrmCapArea::FormPaint() {
    PaintDC paint(hwnd_);
    HDC dc = paint.get();
    if (dc && !screenImage_.Empty()) {
        DrawBitmap(dc, screenImage_, 0, 0, screenImage_.Width(), screenImage_.Height());
        // The picture just painted covered the band inside the update region: draw it again.
        if (selection_.Dragging()) {
            const RECT frame = ToRECT(FocusFrame(selection_.SelectionRect()));
            ::DrawFocusRect(dc, &frame);
        }
    }
}

LRESULT TfrmCapArea::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const Point at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the picture covers everything: no flicker
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_LBUTTONDOWN:
        ::SetCapture(hwnd_);
        Invert(selection_.MouseDown(MouseButton::Left, at));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Invert(selection_.MouseDown(message == WM_RBUTTONDOWN ? MouseButton::Right : MouseButton::Middle, at));
        return 0;
    case WM_MOUSEMOVE:
        Invert(selection_.MouseMove(at));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                             : message == WM_RBUTTONUP ? MouseButton::Right
                                                       : MouseButton::Middle;
        SelectionStep step = selection_.MouseUp(button, at);
        Invert(step);
        if (step.close) EndModal(kModalOk);
        return 0;
    }
    case WM_CLOSE:
        EndModal(kModalCancel);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F1 && OnHelp) OnHelp();
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

AreaChoice WinAreaOverlay::Run() {
    TfrmCapArea overlay(owner_);
    overlay.OnHelp = help_;
    AreaChoice choice;
    choice.ok = overlay.ShowModal() == TfrmCapArea::kModalOk;
    const Rect& r = overlay.SelectionRect();
    const Point o = overlay.Origin();
    choice.selection = Rect{r.left + o.x, r.top + o.y, r.right + o.x, r.bottom + o.y};
    choice.origin = o;
    choice.screenImage = overlay.TakeScreenImage();
    return choice;
}

}  // namespace vimbrel::win32
