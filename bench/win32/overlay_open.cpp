// Hotkey to area overlay shown: how long Vimbrel takes from Win+Print Screen to its overlay
// on the screen, beside a bare program that copies the screen and shows the copy in a
// topmost window of the screen's size. Run under Wine by bench/overlay.sh.
//   overlay_open RUNS
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"

#include "vimbrel_process.h"

using namespace e2e;
using bench::Clock;
using bench::Median;
using bench::Ms;
using bench::Percentile;

namespace {

HDC g_frozen = nullptr;

LRESULT CALLBACK FrozenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        ::BitBlt(dc, 0, 0, ps.rcPaint.right, ps.rcPaint.bottom, g_frozen, 0, 0, SRCCOPY);
        ::EndPaint(window, &ps);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// The bare program: the screen into a bitmap, a topmost window over it showing the copy.
double BareOverlay() {
    const auto start = Clock::now();
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HBITMAP copy = ::CreateCompatibleBitmap(screen, w, h);
    g_frozen = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(g_frozen, copy);
    ::BitBlt(g_frozen, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    HWND window = ::CreateWindowExA(WS_EX_TOPMOST, "BareOverlay", "", WS_POPUP, 0, 0, w, h, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    ::GdiFlush();
    const double ms = Ms(start);
    ::DestroyWindow(window);
    ::SelectObject(g_frozen, old);
    ::DeleteDC(g_frozen);
    ::DeleteObject(copy);
    ::ReleaseDC(nullptr, screen);
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrozenProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BareOverlay";
    ::RegisterClassA(&wc);
    ClearSettings();
    WriteSetting("CheckClose", "N");
    VimbrelProcess app("bench-overlay");
    if (!app.Start()) {
        std::printf("Vimbrel did not start\n");
        return 1;
    }
    std::vector<double> bare, vimbrel;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(BareOverlay());
        const auto start = Clock::now();
        PressKeys({VK_LWIN, VK_SNAPSHOT});
        HWND overlay = nullptr;
        // Looked for every millisecond, so the wait adds no more than that to the time.
        while (!(overlay = FindProcessWindow(app.ProcessId(), "TfrmCapArea", "frmCapArea")) || !::IsWindowVisible(overlay)) {
            if (Ms(start) > 20000) {
                std::printf("no overlay\n");
                return 1;
            }
            ::Sleep(1);
        }
        vimbrel.push_back(Ms(start));
        WaitFor([] { return false; }, 300ms);
        ::PostMessageA(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor([&] { return !::IsWindow(overlay) || !::IsWindowVisible(overlay); });
        WaitFor([] { return false; }, 300ms);
    }
    app.Exit();
    const double b = Median(bare), v = Median(vimbrel);
    std::printf("Area overlay: hotkey to overlay shown, screen %d x %d, median of %d\n", ::GetSystemMetrics(SM_CXSCREEN),
                ::GetSystemMetrics(SM_CYSCREEN), runs);
    std::printf("  floor    %-46s %9.2f ms\n", "bare copy-and-show in a topmost window", b);
    std::printf("  program  %-46s %9.2f ms\n", "Vimbrel, Win+Print Screen to overlay shown", v);
    std::printf("  ratio    %-46s %9.2f\n", "program / floor", v / b);
    return 0;
}
