// The area overlay's cost on this screen: making it (the desktop copy, its dimmed copy and
// the windows to offer), its first full paint, and the repaint after one mouse move while
// a large selection is dragged and while the pointer only hovers, beside the floor: a bare
// window of the screen's size repainted whole from a bitmap in memory. Run under Wine on a
// virtual screen of the size asked for by bench/overlay.sh.
//   overlay_repaint MOVES
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_timing.h"

#include "capture/win32/cap_area.h"

using bench::Clock;
using bench::Median;
using bench::Ms;
using bench::Percentile;

namespace {

// One mouse move handled and its repaint done, as the window's own thread does them.
double MoveAndRepaint(HWND window, int x, int y) {
    const auto start = Clock::now();
    ::SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::UpdateWindow(window);
    ::GdiFlush();
    return Ms(start);
}

HDC g_picture = nullptr;

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
                 g_picture, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        ::EndPaint(window, &ps);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// The floor: a topmost window of the screen's size showing a copy of the screen, repainted
// whole; the median of `times` repaints.
double BareFullRepaint(int w, int h, int times) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BareRepaint";
    ::RegisterClassA(&wc);
    HDC screen = ::GetDC(nullptr);
    HBITMAP copy = ::CreateCompatibleBitmap(screen, w, h);
    g_picture = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(g_picture, copy);
    ::BitBlt(g_picture, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    HWND window = ::CreateWindowExA(WS_EX_TOPMOST, "BareRepaint", "", WS_POPUP, 0, 0, w, h, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const auto start = Clock::now();
        ::InvalidateRect(window, nullptr, FALSE);
        ::UpdateWindow(window);
        ::GdiFlush();
        ms.push_back(Ms(start));
    }
    ::DestroyWindow(window);
    ::SelectObject(g_picture, old);
    ::DeleteDC(g_picture);
    ::DeleteObject(copy);
    ::ReleaseDC(nullptr, screen);
    return Median(ms);
}

}  // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int w = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), h = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    auto start = Clock::now();
    vimbrel::win32::TfrmCapArea overlay;
    const double made = Ms(start);
    HWND window = overlay.Hwnd();
    start = Clock::now();
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    ::GdiFlush();
    const double firstPaint = Ms(start);

    std::vector<double> hover, drag;
    for (int i = 0; i < moves; ++i) hover.push_back(MoveAndRepaint(window, w / 3 + i % 50, h / 3 + i % 40));
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    MoveAndRepaint(window, w - 200, h - 200);
    for (int i = 0; i < moves; ++i) drag.push_back(MoveAndRepaint(window, w - 200 + i % 60, h - 200 + i % 50));
    const double bare = BareFullRepaint(w, h, std::max(10, moves / 4));
    const double hovering = Percentile(hover, 0.5), dragging = Percentile(drag, 0.5);
    std::printf("Area overlay: repaint after one mouse move, screen %d x %d, median of %d moves\n", w, h, moves);
    std::printf("  floor    %-46s %9.2f ms\n", "bare full repaint from a bitmap in memory", bare);
    std::printf("  program  %-46s %9.2f ms\n", "overlay, pointer hovering", hovering);
    std::printf("  ratio    %-46s %9.2f\n", "program / floor", hovering / bare);
    std::printf("  also     dragging a %d x %d selection %.2f ms (ratio %.2f, 95%% %.2f ms); overlay made in %.1f ms, "
                "first paint %.1f ms\n",
                w - 240, h - 240, dragging, dragging / bare, Percentile(drag, 0.95), made, firstPaint);
    return 0;
}
