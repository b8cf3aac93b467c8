#include "capture/win32/cap_area.h"

#include <windowsx.h>

#include <cstring>
#include <stdexcept>

#include "capture/overlay_layout.h"
#include "capture/win32/screen_grab.h"
#include "capture/win32/snap_windows.h"
#include "util/dpi_scale.h"
#include "util/win32/rect_conversions.h"

namespace vimbrel::win32 {

namespace {
const char kClassName[] = "TfrmCapArea";

const COLORREF kAccent = RGB(0, 150, 255);
const COLORREF kBoxBack = RGB(24, 24, 24);
const COLORREF kBoxText = RGB(255, 255, 255);
const COLORREF kGrid = RGB(70, 70, 70);

constexpr LoupeView kLoupe{};
constexpr int kSelectionBorder = 1, kOutlineBorder = 2;

void Fill(HDC dc, const Rect& r, COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    const RECT rect = ToRECT(r);
    ::FillRect(dc, &rect, brush.get());
}

void Blit(HDC to, const Rect& r, HDC from) {
    if (!r.Empty()) ::BitBlt(to, r.left, r.top, r.Width(), r.Height(), from, r.left, r.top, SRCCOPY);
}

Size TextSize(HDC dc, const std::string& text) {
    SIZE s{};
    ::GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &s);
    return Size{s.cx, s.cy};
}

}  // namespace

TfrmCapArea::TfrmCapArea(HWND owner)
    : owner_(owner), origin_{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN)} {
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    {
        // The overlay always copies with plain SRCCOPY, through a surface that goes with the
        // grab: the overlay holds the desktop three times over while it is up.
        GrabSurface once;
        GrabScreenRectWith(Rect{origin_.x, origin_.y, origin_.x + width, origin_.y + height}, screenImage_, SRCCOPY,
                           once);
    }
    const int depth = screenImage_.BitsPerPixel();
    bright_.emplace(width, height, depth);
    dim_.emplace(width, height, depth);
    back_.emplace(width, height, depth);
    std::memcpy(bright_->bits(), screenImage_.Data(), screenImage_.DataSize());
    DimPixels(screenImage_.Data(), dim_->bits(), screenImage_.DataSize());
    ::GdiFlush();

    UINT dragWidth = UINT(::GetSystemMetrics(SM_CXDRAG));
    selection_ = AreaSelection(Rect{0, 0, width, height}, SnapWindowsOnScreen(origin_), int(dragWidth ? dragWidth : 4));

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
    dpi_ = int(::GetDpiForWindow(hwnd_));
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = -Scaled(12);
        font_.reset(::CreateFontIndirectA(&metrics.lfMessageFont));
    }
    POINT cursor{};
    if (::GetCursorPos(&cursor)) selection_.MouseMove(RelativeTo(Point{cursor.x, cursor.y}, origin_));
    WindowDC dc(hwnd_);
    SelectedObject font(dc.get(), font_ ? HGDIOBJ(font_.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    shown_ = Compose(dc.get());
}

int TfrmCapArea::Scaled(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }

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
    ::SetFocus(hwnd_);
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

void TfrmCapArea::EndModalIfDone() {
    switch (selection_.End()) {
    case SelectionEnd::Take: EndModal(kModalOk); break;
    case SelectionEnd::Cancel: EndModal(kModalCancel); break;
    case SelectionEnd::Open: break;
    }
}

TfrmCapArea::Scene TfrmCapArea::Compose(HDC measure) const {
    Scene scene;
    const Rect screen{0, 0, screenImage_.Width(), screenImage_.Height()};
    scene.pointer = selection_.Pointer();
    if (selection_.Dragging()) {
        scene.lit = selection_.Selection();
        scene.border = kSelectionBorder;
    } else if (auto window = selection_.Outlined()) {
        scene.lit = *window;
        scene.border = kOutlineBorder;
    }
    const int pad = Scaled(4), gap = Scaled(6);
    if (!scene.lit.Empty()) {
        scene.readoutText = SizeReadout(scene.lit);
        const Size text = TextSize(measure, scene.readoutText);
        scene.readout = ReadoutPlace(Inflated(scene.lit, scene.border), Size{text.width + 2 * pad, text.height + pad},
                                     screen, gap);
    }
    // The magnifier on the monitor under the pointer, with the pointer's place and colour.
    const Point onScreen{scene.pointer.x + origin_.x, scene.pointer.y + origin_.y};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    Rect room = screen;
    if (::GetMonitorInfoA(::MonitorFromPoint(POINT{onScreen.x, onScreen.y}, MONITOR_DEFAULTTONEAREST), &monitor))
        room = RelativeTo(FromRECT(monitor.rcMonitor), origin_);
    const Size caption = TextSize(measure, "-00000, -00000  #FFFFFF");
    const int side = kLoupe.Pixels() + 2;
    scene.loupe = LoupePlace(scene.pointer, Size{std::max(side, caption.width + 2 * pad), side + caption.height + pad},
                             room, Scaled(20));
    return scene;
}

void TfrmCapArea::Refresh() {
    Scene next;
    {
        WindowDC dc(hwnd_);
        SelectedObject font(dc.get(), font_ ? HGDIOBJ(font_.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
        next = Compose(dc.get());
    }
    if (next == shown_) return;
    auto invalidate = [this](const Rect& r) {
        if (r.Empty()) return;
        const RECT rect = ToRECT(r);
        ::InvalidateRect(hwnd_, &rect, FALSE);
    };
    const int border = std::max(shown_.border, next.border);
    for (const Rect& r : ChangedAreas(shown_.lit, next.lit, border)) invalidate(r);
    if (shown_.border != next.border)
        for (const Rect& r : ChangedAreas(Rect{}, Inflated(next.lit, border), 0)) invalidate(r);
    if (shown_.readout != next.readout || shown_.readoutText != next.readoutText) {
        invalidate(shown_.readout);
        invalidate(next.readout);
    }
    if (shown_.loupe != next.loupe || shown_.pointer != next.pointer) {
        invalidate(shown_.loupe);
        invalidate(next.loupe);
    }
    shown_ = next;
}

void TfrmCapArea::PaintLoupe(HDC dc, const Scene& scene) const {
    const Rect& box = scene.loupe;
    Fill(dc, box, kBoxBack);
    const int zoom = kLoupe.zoom, pixels = kLoupe.Pixels();
    const Rect view = Rect::At(box.left + CentreOffset(box.Width(), pixels), box.top + 1, pixels, pixels);
    const Rect source = kLoupe.SourceAround(scene.pointer);
    const Rect inside = Intersect(source, Rect{0, 0, screenImage_.Width(), screenImage_.Height()});
    if (!inside.Empty()) {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, view.left + (inside.left - source.left) * zoom, view.top + (inside.top - source.top) * zoom,
                     inside.Width() * zoom, inside.Height() * zoom, bright_->dc(), inside.left, inside.top,
                     inside.Width(), inside.Height(), SRCCOPY);
    }
    // A grid between the pixels and a frame round the one under the pointer.
    for (int k = 1; k < kLoupe.side; ++k) {
        Fill(dc, Rect::At(view.left + k * zoom, view.top, 1, pixels), kGrid);
        Fill(dc, Rect::At(view.left, view.top + k * zoom, pixels, 1), kGrid);
    }
    const Rect centre = Rect::At(view.left + (kLoupe.side / 2) * zoom, view.top + (kLoupe.side / 2) * zoom, zoom, zoom);
    for (const Rect& r : Subtract(Inflated(centre, 1), centre)) Fill(dc, r, kBoxText);
    for (const Rect& r : Subtract(centre, Inflated(centre, -1))) Fill(dc, r, RGB(0, 0, 0));
    const std::string caption = PointerReadout(scene.pointer) + "  " + HexColour(screenImage_, scene.pointer);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kBoxText);
    const Size text = TextSize(dc, caption);
    ::TextOutA(dc, box.left + CentreOffset(box.Width(), text.width), view.bottom + Scaled(2), caption.c_str(),
               int(caption.size()));
}

void TfrmCapArea::FormPaint() {
    UniqueRegion stale(::CreateRectRgn(0, 0, 0, 0));
    const bool haveRegion = stale && ::GetUpdateRgn(hwnd_, stale.get(), FALSE) != ERROR;
    PaintDC paint(hwnd_);
    if (!paint.get() || !back_) return;
    const Rect area = FromRECT(paint.Area());
    // Everything is composed off the screen, inside the stale region only, and then put on
    // the window in one copy: the frame follows the mouse without tearing.
    HDC back = back_->dc();
    ::SelectClipRgn(back, haveRegion ? stale.get() : nullptr);
    Blit(back, area, dim_->dc());
    const Scene& s = shown_;
    if (!s.lit.Empty()) {
        Blit(back, Intersect(s.lit, area), bright_->dc());
        for (const Rect& r : Subtract(Inflated(s.lit, s.border), s.lit)) Fill(back, Intersect(r, area), kAccent);
    }
    {
        SelectedObject font(back, font_ ? HGDIOBJ(font_.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
        if (!s.readout.Empty() && !Intersect(s.readout, area).Empty()) {
            Fill(back, s.readout, kBoxBack);
            ::SetBkMode(back, TRANSPARENT);
            ::SetTextColor(back, kBoxText);
            ::TextOutA(back, s.readout.left + Scaled(4), s.readout.top + Scaled(2), s.readoutText.c_str(),
                       int(s.readoutText.size()));
        }
        if (!s.loupe.Empty() && !Intersect(s.loupe, area).Empty()) PaintLoupe(back, s);
    }
    ::SelectClipRgn(back, nullptr);
    Blit(paint.get(), area, back);
}

void TfrmCapArea::OnKey(WPARAM key) {
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_F1:
        if (OnHelp) OnHelp();
        return;
    case VK_ESCAPE: selection_.Key(SelectionKey::Escape, shift); break;
    case VK_RETURN: selection_.Key(SelectionKey::Enter, shift); break;
    case VK_LEFT: selection_.Key(SelectionKey::Left, shift); break;
    case VK_RIGHT: selection_.Key(SelectionKey::Right, shift); break;
    case VK_UP: selection_.Key(SelectionKey::Up, shift); break;
    case VK_DOWN: selection_.Key(SelectionKey::Down, shift); break;
    default: return;
    }
    if (selection_.End() == SelectionEnd::Open) {
        // The pointer goes where the key put it; its move message then changes nothing.
        const Point p = selection_.Pointer();
        ::SetCursorPos(p.x + origin_.x, p.y + origin_.y);
        Refresh();
    }
    EndModalIfDone();
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
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (message == WM_LBUTTONDOWN) ::SetCapture(hwnd_);
        selection_.MouseDown(message == WM_LBUTTONDOWN   ? MouseButton::Left
                             : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                         : MouseButton::Middle,
                             at);
        Refresh();
        return 0;
    case WM_MOUSEMOVE:
        selection_.MouseMove(at);
        Refresh();
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        selection_.MouseUp(message == WM_LBUTTONUP   ? MouseButton::Left
                           : message == WM_RBUTTONUP ? MouseButton::Right
                                                     : MouseButton::Middle,
                           at);
        EndModalIfDone();
        if (modalResult_ == 0) Refresh();
        return 0;
    case WM_CLOSE:
        EndModal(kModalCancel);
        return 0;
    case WM_KEYDOWN:
        OnKey(wParam);
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
    const Point o = overlay.Origin();
    choice.selection = Offset(overlay.SelectionRect(), o.x, o.y);
    choice.origin = o;
    choice.screenImage = overlay.TakeScreenImage();
    return choice;
}

}  // namespace vimbrel::win32
