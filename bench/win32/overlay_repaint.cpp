// The area overlay's cost on this screen: making it (the desktop copy, its dimmed copy and
// the windows to offer), its first full paint, and the repaint after one mouse move while
// a large selection is dragged and while the pointer only hovers. Run under Wine on a
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
    std::printf("screen %d x %d: overlay made in %.1f ms, first paint %.1f ms; one mouse move and its repaint: "
                "hovering median %.2f ms (95%% %.2f), dragging a %d x %d selection median %.2f ms (95%% %.2f)\n",
                w, h, made, firstPaint, Percentile(hover, 0.5), Percentile(hover, 0.95), w - 240, h - 240,
                Percentile(drag, 0.5), Percentile(drag, 0.95));
    return 0;
}
