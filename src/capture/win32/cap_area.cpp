#include "capture/win32/cap_area.h"

#include <windowsx.h>

#include <stdexcept>

#include "capture/win32/gdi_handles.h"
#include "capture/win32/screen_grab_win.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {

namespace {

const char kClassName[] = "TfrmCapArea";

void RegisterOverlayClass(WNDPROC windowProc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), kClassName, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_CROSS);
    wc.lpszClassName = kClassName;
    ::RegisterClassExA(&wc);
}

}  // namespace

TfrmCapArea::TfrmCapArea() {
    RECT desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    const int width = desktop.right - desktop.left, height = desktop.bottom - desktop.top;
    // The overlay always copies with plain SRCCOPY.
    GrabScreenRectWith(Rect{0, 0, width, height}, screenImage_, SRCCOPY);

    RegisterOverlayClass(&TfrmCapArea::WindowProc);
    window_ = ::CreateWindowExA(WS_EX_TOPMOST, kClassName, "frmCapArea", WS_POPUP, 0, 0, width, height, nullptr,
                                nullptr, ::GetModuleHandleA(nullptr), this);
    if (!window_) throw std::runtime_error("The area selection window could not be created");
}

TfrmCapArea::~TfrmCapArea() {
    if (window_) {
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

LRESULT CALLBACK TfrmCapArea::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TfrmCapArea*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    self->window_ = window;  // messages arrive before CreateWindowExA returns
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Never into Windows: ShowModal hands the failure to its caller.
        self->failure_ = std::current_exception();
        self->EndModal(kModalCancel);
        return 0;
    }
}

int TfrmCapArea::ShowModal() {
    modalResult_ = 0;
    failure_ = nullptr;
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    ::UpdateWindow(window_);
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
    if (::GetCapture() == window_) ::ReleaseCapture();
    ::ShowWindow(window_, SW_HIDE);
    if (failure_) std::rethrow_exception(failure_);
    return modalResult_;
}

void TfrmCapArea::EndModal(int result) {
    if (modalResult_ == 0) modalResult_ = result;
}

void TfrmCapArea::Invert(const SelectionStep& step) {
    if (step.invert.empty()) return;
    WindowDC dc(window_);
    if (!dc) return;
    for (const Rect& r : step.invert) {
        RECT frame{r.left, r.top, r.right, r.bottom};
        ::DrawFocusRect(dc.get(), &frame);
    }
}

void TfrmCapArea::FormPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window_, &ps);
    if (dc && !screenImage_.Empty()) {
        DrawBitmap(dc, screenImage_, 0, 0, screenImage_.Width(), screenImage_.Height());
        // The picture just painted covered the band inside the update region: draw it again.
        if (selection_.Dragging()) {
            Rect f = FocusFrame(selection_.SelectionRect());
            RECT frame{f.left, f.top, f.right, f.bottom};
            ::DrawFocusRect(dc, &frame);
        }
    }
    ::EndPaint(window_, &ps);
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
        ::SetCapture(window_);
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
        return ::DefWindowProcA(window_, message, wParam, lParam);
    }
}

AreaChoice Win32AreaOverlay::Run() {
    TfrmCapArea overlay;
    AreaChoice choice;
    choice.ok = overlay.ShowModal() == TfrmCapArea::kModalOk;
    choice.selection = overlay.SelectionRect();
    choice.screenImage = overlay.TakeScreenImage();
    return choice;
}

}  // namespace vimbrel::win32
