#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "capture/overlay_layout.h"
#include "capture/win32/cap_area.h"
#include "capture/win32/screen_grab.h"

namespace vimbrel::win32 {
namespace {

// Colour the test window paints at (x, y) of its client area: 8-pixel stripes, distinct
// per column band and row band, so a shifted or mirrored copy is caught.
COLORREF PatternColour(int x, int y) {
    return RGB((x / 8) * 30 + 10, (y / 8) * 40 + 5, ((x / 8 + y / 8) % 2) ? 200 : 60);
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        bool solid = GetWindowLongPtrA(window, GWLP_USERDATA) != 0;
        for (int y = 0; y < client.bottom; y += 8)
            for (int x = 0; x < client.right; x += 8) {
                RECT cell{x, y, x + 8, y + 8};
                HBRUSH brush = CreateSolidBrush(solid ? RGB(128, 128, 128) : PatternColour(x, y));
                FillRect(dc, &cell, brush);
                DeleteObject(brush);
            }
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void PumpFor(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// A topmost borderless window painted with the pattern (or plain grey).
class PatternWindow {
public:
    PatternWindow(int x, int y, int w, int h, bool solid = false) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PatternProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VimbrelPatternWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(WS_EX_TOPMOST, "VimbrelPatternWindow", "pattern", WS_POPUP, x, y, w, h, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, solid ? 1 : 0);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
        PumpFor(300);
    }
    ~PatternWindow() { DestroyWindow(window_); }
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

RgbQuad Expected(int x, int y) {
    COLORREF c = PatternColour(x, y);
    return RgbQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

RgbQuad Colour(const Bitmap& b, int x, int y) {
    RgbQuad c = b.PixelColour(x, y);
    c.reserved = 0;
    return c;
}

int CountMismatches(const Bitmap& b, int offsetX, int offsetY) {
    int wrong = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (!(Colour(b, x, y) == Expected(x + offsetX, y + offsetY))) ++wrong;
    return wrong;
}

TEST(ScreenGrabWin32Test, WindowGrabGivesThePaintedPixels) {
    PatternWindow pattern(120, 90, 96, 64);
    GrabSurface surface;
    Bitmap grabbed;
    std::optional<Rect> rect = GrabWindow(pattern.get(), grabbed, surface);
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(*rect, (Rect{120, 90, 216, 154}));
    ASSERT_EQ(grabbed.Width(), 96);
    ASSERT_EQ(grabbed.Height(), 64);
    EXPECT_TRUE(grabbed.BitsPerPixel() == 24 || grabbed.BitsPerPixel() == 32);
    EXPECT_EQ(CountMismatches(grabbed, 0, 0), 0);

    Bitmap part;
    GrabScreenRect(Rect{130, 95, 150, 130}, part, surface);
    ASSERT_EQ(part.Width(), 20);
    ASSERT_EQ(part.Height(), 35);
    EXPECT_EQ(CountMismatches(part, 10, 5), 0);
}

TEST(ScreenGrabWin32Test, AGrabThroughTheKeptSurfaceShowsTheScreenAsItIsNow) {
    PatternWindow pattern(120, 90, 96, 64);
    GrabSurface surface;
    Bitmap first;
    ASSERT_TRUE(GrabWindow(pattern.get(), first, surface).has_value());
    ASSERT_EQ(CountMismatches(first, 0, 0), 0);

    // The window turns grey; the same surface, same size, grabs it again.
    SetWindowLongPtrA(pattern.get(), GWLP_USERDATA, 1);
    InvalidateRect(pattern.get(), nullptr, FALSE);
    UpdateWindow(pattern.get());
    PumpFor(300);
    Bitmap second;
    ASSERT_TRUE(GrabWindow(pattern.get(), second, surface).has_value());
    ASSERT_EQ(second.Width(), 96);
    for (Point p : {Point{0, 0}, Point{47, 31}, Point{95, 63}})
        EXPECT_EQ(Colour(second, p.x, p.y), (RgbQuad{128, 128, 128, 0})) << p.x << ", " << p.y;
    EXPECT_EQ(CountMismatches(first, 0, 0), 0) << "the first grab is the picture's own, not the surface's";
}

TEST(ScreenGrabWin32Test, WholeScreenAndGoneWindow) {
    GrabSurface surface;
    Bitmap screen;
    GrabScreen(screen, surface);
    EXPECT_EQ(screen.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.Height(), GetSystemMetrics(SM_CYSCREEN));

    HWND gone;
    {
        PatternWindow pattern(10, 10, 16, 16);
        gone = pattern.get();
    }
    Bitmap kept(3, 3, 24);
    EXPECT_FALSE(GrabWindow(gone, kept, surface).has_value());
    EXPECT_EQ(kept.Width(), 3);

    Bitmap reversed(3, 3, 24);
    GrabScreenRect(Rect{50, 50, 40, 40}, reversed, surface);
    EXPECT_TRUE(reversed.Empty());
}

// Pixels that differ between two grabs of the same rectangle.
std::vector<Point> Differences(const Bitmap& a, const Bitmap& b) {
    std::vector<Point> diff;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(Colour(a, x, y) == Colour(b, x, y))) diff.push_back({x, y});
    return diff;
}

TEST(ScreenGrabWin32Test, ArrowIsDrawnAtThePointer) {
    PatternWindow grey(200, 200, 160, 160, true);
    ASSERT_TRUE(SetCursorPos(260, 270));
    const Rect area{220, 230, 340, 350};
    GrabSurface surface;
    Bitmap plain;
    GrabScreenRect(area, plain, surface);

    Bitmap off = plain;
    DrawMouseCursor(off, Point{area.left, area.top}, false);
    EXPECT_EQ(off, plain);

    Bitmap with = plain;
    DrawMouseCursor(with, Point{area.left, area.top}, true);
    std::vector<Point> diff = Differences(plain, with);
    ASSERT_FALSE(diff.empty());
    // The arrow's top-left corner is at the pointer (40, 40 in the grab): nothing above or
    // left of it changes, and its tip is within a few pixels of it.
    bool tipFound = false;
    for (Point p : diff) {
        EXPECT_GE(p.x, 40);
        EXPECT_GE(p.y, 40);
        EXPECT_LT(p.x, 40 + 64);
        if (p.x < 44 && p.y < 44) tipFound = true;
    }
    EXPECT_TRUE(tipFound);

    // Pointer above and left of the origin: only the arrow's lower right part shows.
    Bitmap clipped = plain;
    DrawMouseCursor(clipped, Point{265, 275}, true);
    std::vector<Point> clippedDiff = Differences(plain, clipped);
    EXPECT_FALSE(clippedDiff.empty());
    Bitmap outside = plain;
    DrawMouseCursor(outside, Point{500, 500}, true);
    EXPECT_EQ(outside, plain);
}

// Moves and clicks the mouse as a user would, from another thread, once the overlay shows.
class MouseScript {
public:
    // A mouse event at (x, y), or with key set a press and release of that key where the
    // pointer is.
    struct Step {
        DWORD flags;
        int x, y;
        WORD key = 0;
    };
    MouseScript(std::function<HWND()> overlay, std::vector<Step> steps)
        : thread_([this, overlay = std::move(overlay), steps = std::move(steps)] { Play(overlay, steps); }) {}
    ~MouseScript() { Join(); }
    MouseScript(const MouseScript&) = delete;
    MouseScript& operator=(const MouseScript&) = delete;
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    bool Misplaced() const { return misplaced_; }
    // The pattern window's place on the screen while the overlay was open.
    const Bitmap& ScreenWhileOpen() const { return screenWhileOpen_; }

private:
    void Play(const std::function<HWND()>& overlay, const std::vector<Step>& steps) {
        HWND window = nullptr;
        for (int i = 0; i < 300 && !window; ++i, Sleep(10)) {
            HWND w = overlay();
            if (w && IsWindowVisible(w)) window = w;
        }
        if (!window) return;
        Sleep(200);
        GrabSurface surface;
        GrabScreenRect(Rect{120, 90, 216, 154}, screenWhileOpen_, surface);
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        for (const Step& s : steps) {
            if (s.key) {
                INPUT keys[2]{};
                keys[0].type = keys[1].type = INPUT_KEYBOARD;
                keys[0].ki.wVk = keys[1].ki.wVk = s.key;
                keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
                SendInput(2, keys, sizeof keys[0]);
                Sleep(60);
                continue;
            }
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dx = MulDiv(s.x, 65535, w - 1);
            input.mi.dy = MulDiv(s.y, 65535, h - 1);
            input.mi.dwFlags = s.flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &input, sizeof input);
            Sleep(60);
            POINT p;
            GetCursorPos(&p);
            if (p.x != s.x || p.y != s.y) misplaced_ = true;
        }
        // Never leave the test hanging if a click went astray.
        for (int i = 0; i < 300 && IsWindowVisible(window); ++i) Sleep(10);
        if (IsWindowVisible(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    }

    std::atomic<bool> misplaced_{false};
    Bitmap screenWhileOpen_;
    std::thread thread_;
};

// The overlay as the area capture runs it, through WinAreaOverlay.
AreaChoice RunOverlay(std::vector<MouseScript::Step> steps, bool& misplaced) {
    MouseScript script([] { return FindWindowA("TfrmCapArea", "frmCapArea"); }, std::move(steps));
    WinAreaOverlay overlay;
    AreaChoice choice = overlay.Run();
    script.Join();
    misplaced = script.Misplaced();
    return choice;
}

// The pattern as the overlay shows it outside the selection: dimmed.
int CountDimmedMismatches(const Bitmap& b) {
    int wrong = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const RgbQuad e = Expected(x, y);
            const RgbQuad dimmed{DimmedChannel(e.blue), DimmedChannel(e.green), DimmedChannel(e.red), 0};
            if (!(Colour(b, x, y) == dimmed)) ++wrong;
        }
    return wrong;
}

TEST(CapAreaWin32Test, ReturnsTheDraggedRectangleOverAFrozenDimmedDesktop) {
    auto pattern = std::make_unique<PatternWindow>(120, 90, 96, 64);
    SetCursorPos(600, 400);  // the magnifier well away from the pattern, no window outlined
    TfrmCapArea overlay;
    pattern.reset();  // gone from the screen, still in the frozen copy
    PumpFor(200);

    const Bitmap& frozen = overlay.ScreenImage();
    ASSERT_EQ(frozen.Width(), GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(frozen.Height(), GetSystemMetrics(SM_CYSCREEN));
    Bitmap copied(96, 64, 24);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x) copied.SetPixelColour(x, y, Colour(frozen, 120 + x, 90 + y));
    EXPECT_EQ(CountMismatches(copied, 0, 0), 0);

    int result;
    bool misplaced;
    {
        MouseScript script([&] { return overlay.Hwnd(); }, {{0, 100, 120},
                                     {MOUSEEVENTF_LEFTDOWN, 100, 120},
                                     {0, 180, 200},
                                     {0, 300, 260},
                                     {MOUSEEVENTF_LEFTUP, 300, 260}});
        result = overlay.ShowModal();
        script.Join();
        misplaced = script.Misplaced();
        // The overlay showed the frozen picture, not the live desktop.
        EXPECT_EQ(CountDimmedMismatches(script.ScreenWhileOpen()), 0);
    }
    ASSERT_FALSE(misplaced);
    EXPECT_EQ(result, TfrmCapArea::kModalOk);
    EXPECT_EQ(overlay.SelectionRect(), (Rect{100, 120, 300, 260}));
    EXPECT_FALSE(IsWindowVisible(overlay.Hwnd()));
}

TEST(CapAreaWin32Test, ADragUpLeftIsTakenAndARightClickCancels) {
    bool misplaced = false;
    AreaChoice choice = RunOverlay(
        {{0, 400, 300}, {MOUSEEVENTF_LEFTDOWN, 400, 300}, {0, 250, 150}, {MOUSEEVENTF_LEFTUP, 250, 150}}, misplaced);
    ASSERT_FALSE(misplaced);
    EXPECT_TRUE(choice.ok);
    EXPECT_EQ(choice.selection, (Rect{250, 150, 400, 300}));
    EXPECT_EQ(choice.screenImage.Width(), GetSystemMetrics(SM_CXSCREEN));

    choice = RunOverlay({{0, 50, 60}, {MOUSEEVENTF_RIGHTDOWN, 50, 60}, {MOUSEEVENTF_RIGHTUP, 50, 60}}, misplaced);
    ASSERT_FALSE(misplaced);
    EXPECT_FALSE(choice.ok);
}

TEST(CapAreaWin32Test, OwnWindowsAreNotOfferedAndKeysPlaceACornerByThePixel) {
    // A click on a window of the program's own is a click on nothing (another program's
    // window is taken: the end-to-end tests show that).
    PatternWindow pattern(120, 90, 96, 64);
    bool misplaced = false;
    AreaChoice choice = RunOverlay({{0, 150, 110}, {MOUSEEVENTF_LEFTDOWN, 150, 110}, {MOUSEEVENTF_LEFTUP, 150, 110}},
                                   misplaced);
    ASSERT_FALSE(misplaced);
    EXPECT_TRUE(choice.ok);
    EXPECT_TRUE(choice.selection.Empty());

    choice = RunOverlay({{0, 300, 300},
                         {MOUSEEVENTF_LEFTDOWN, 300, 300},
                         {0, 340, 330},
                         {0, 0, 0, VK_RIGHT},
                         {0, 0, 0, VK_RIGHT},
                         {0, 0, 0, VK_UP},
                         {0, 0, 0, VK_RETURN}},
                        misplaced);
    EXPECT_TRUE(choice.ok);
    EXPECT_EQ(choice.selection, (Rect{300, 300, 342, 329}));
    ReleaseCapture();
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);

    choice = RunOverlay({{0, 300, 300}, {MOUSEEVENTF_LEFTDOWN, 300, 300}, {0, 340, 330}, {0, 0, 0, VK_ESCAPE}}, misplaced);
    EXPECT_FALSE(choice.ok) << "Escape cancels";
    SendInput(1, &up, sizeof up);
}

TEST(CapAreaWin32Test, SystemCloseIsNotOk) {
    TfrmCapArea overlay;
    PostMessageA(overlay.Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(overlay.ShowModal(), TfrmCapArea::kModalCancel);
}

TEST(ForegroundWin32Test, ClassNamesAndConsole) {
    PatternWindow pattern(10, 10, 16, 16);
    WinWindowQuery windows;
    EXPECT_EQ(windows.ClassName(reinterpret_cast<WindowId>(pattern.get()), 63), "VimbrelPatternWindow");
    EXPECT_EQ(windows.ClassName(reinterpret_cast<WindowId>(pattern.get()), 8), "Vimbrel");
    SetForegroundWindow(pattern.get());
    PumpFor(100);
    const auto own = reinterpret_cast<WindowId>(pattern.get());
    EXPECT_TRUE(windows.Exists(own));
    EXPECT_TRUE(windows.OfThisProcess(own));
    EXPECT_FALSE(windows.OfThisProcess(reinterpret_cast<WindowId>(::GetDesktopWindow()))) << "another process's window";
    WindowId target = 0;
    TrackForegroundWindow(windows, target);
    EXPECT_EQ(target, 0u) << "a window of this process is never the target";
    EXPECT_FALSE(ConsoleInForeground());
}

}  // namespace
}  // namespace vimbrel::win32
