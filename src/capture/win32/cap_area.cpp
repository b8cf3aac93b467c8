#include "capture/win32/cap_area.h"

#include <windowsx.h>

#include <stdexcept>

#include "capture/win32/dib_canvas.h"
#include "capture/win32/screen_grab.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {

namespace {
const char kClassName[] = "TfrmCapArea";
}  // namespace

TfrmCapArea::TfrmCapArea() {
    RECT desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    const int width = desktop.right - desktop.left, height = desktop.bottom - desktop.top;
    // The overlay always copies with plain SRCCOPY.
    GrabScreenRectWith(Rect{0, 0, width, height}, screenImage_, SRCCOPY);

    RegisterWindowClass({.name = kClassName, .cursor = ::LoadCursorA(nullptr, IDC_CROSS)});
    if (!CreateFor({.exStyle = WS_EX_TOPMOST,
                    .className = kClassName,
                    .title = "frmCapArea",
                    .style = WS_POPUP,
                    .x = 0,
                    .y = 0,
                    .width = width,
                    .height = height}))
        throw std::runtime_error("The area selection window could not be created");
}

void TfrmCapArea::OnFailure(std::exception_ptr failure) {
    failure_ = std::move(failure);
    EndModal(kModalCancel);
}

int TfrmCapArea::ShowModal() {
    modalResult_ = 0;
    failure_ = nullptr;
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
        RECT frame{r.left, r.top, r.right, r.bottom};
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
            Rect f = FocusFrame(selection_.SelectionRect());
            RECT frame{f.left, f.top, f.right, f.bottom};
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
    default:
        return Default(message, wParam, lParam);
    }
}

AreaChoice WinAreaOverlay::Run() {
    TfrmCapArea overlay;
    AreaChoice choice;
    choice.ok = overlay.ShowModal() == TfrmCapArea::kModalOk;
    choice.selection = overlay.SelectionRect();
    choice.screenImage = overlay.TakeScreenImage();
    return choice;
}

}  // namespace vimbrel::win32
