#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "capture/area_selection.h"
#include "capture/foreground.h"
#include "capture/screen_grab.h"

namespace vimbrel {
namespace {

class FakeWindows : public WindowQuery {
public:
    WindowId ForegroundWindow() const override { return foreground; }
    std::string ClassName(WindowId w, int bufferSize) const override {
        auto it = classes.find(w);
        if (it == classes.end()) return "";
        return it->second.substr(0, std::size_t(bufferSize - 1));
    }
    bool Exists(WindowId w) const override { return classes.count(w) != 0; }
    bool OfThisProcess(WindowId w) const override { return ours.count(w) != 0; }
    WindowId foreground = 0;
    std::map<WindowId, std::string> classes;
    std::set<WindowId> ours;
};

TEST(ForegroundTest, TaskbarClasses) {
    struct Case { std::string name; bool taskbar; };
    for (const Case& c : {Case{"Shell_TrayWnd", true}, {"SysTabControl32", true}, {"TrayNotifyWnd", true},
                          {"traybutton", true}, {"Notepad", false}, {"Tra", false}, {"XTrayWnd", false},
                          {std::string("Tra\0y", 5), false}, {std::string("Shell_TrayWnd\0x", 15), true}})
        EXPECT_EQ(IsTaskbarClass(c.name), c.taskbar) << c.name;
}

TEST(ForegroundTest, TargetIsTheLastOtherProgramWindow) {
    FakeWindows windows;
    const WindowId own = 5, overlay = 6, notepad = 10, taskbar = 11, editor = 12;
    windows.classes = {{own, "TfrmCaptureForm"}, {overlay, "TfrmCapArea"}, {notepad, "Notepad"},
                       {taskbar, "Shell_TrayWnd"}, {editor, "Edit"}};
    windows.ours = {own, overlay};
    WindowId target = 0;

    struct Step { WindowId foreground; WindowId expected; const char* why; };
    for (Step s : {Step{0, 0, "nothing in front"}, {own, 0, "own window"}, {notepad, notepad, "other program"},
                   {taskbar, notepad, "taskbar clicked"}, {own, notepad, "own window clicked"},
                   {overlay, notepad, "own overlay in front"}, {0, notepad, "no foreground"},
                   {editor, editor, "next program"}}) {
        windows.foreground = s.foreground;
        TrackForegroundWindow(windows, target);
        EXPECT_EQ(target, s.expected) << s.why;
    }
}

TEST(ForegroundTest, TheCaptureTakesTheWindowInFrontWhenTheRememberedOneIsGone) {
    FakeWindows windows;
    const WindowId own = 5, notepad = 10, taskbar = 11, editor = 12, closed = 13;
    windows.classes = {{own, "TfrmCaptureForm"}, {notepad, "Notepad"}, {taskbar, "Shell_TrayWnd"}, {editor, "Edit"}};
    windows.ours = {own};
    struct Case { WindowId remembered, foreground, expected; const char* why; };
    for (Case c : {Case{notepad, editor, notepad, "the remembered window while it exists"},
                   {closed, editor, editor, "closed: the one in front now"},
                   {0, editor, editor, "none remembered yet"},
                   {closed, own, 0, "only our own window in front"},
                   {closed, taskbar, 0, "only the taskbar in front"},
                   {closed, 0, 0, "nothing in front"}}) {
        windows.foreground = c.foreground;
        EXPECT_EQ(ActiveCaptureTarget(windows, c.remembered), c.expected) << c.why;
    }
}

TEST(ForegroundTest, ClassNameIsReadWith62Characters) {
    FakeWindows windows;
    windows.foreground = 7;
    // Upper-cased, cut to 62 characters: only the first 62 decide.
    windows.classes[7] = std::string(62, 'a') + "SHELL_TRAYWND";
    WindowId target = 0;
    TrackForegroundWindow(windows, target);
    EXPECT_EQ(target, 7u);
}

TEST(ForegroundTest, ConsoleInForeground) {
    FakeWindows windows;
    windows.classes = {{1, "ConsoleWindowClass"}, {2, "consolewindowclass"}, {3, "tty"}, {4, "Notepad"}};
    struct Case { WindowId w; bool nt; bool console; };
    for (Case c : {Case{1, true, true}, {2, true, true}, {3, true, false}, {3, false, true}, {1, false, false},
                   {4, true, false}, {0, true, false}}) {
        windows.foreground = c.w;
        EXPECT_EQ(ConsoleInForeground(windows, c.nt), c.console) << c.w << " nt=" << c.nt;
    }
}

TEST(ScreenGrabTest, CaptureBltRule) {
    EXPECT_FALSE(UseCaptureBlt(OsVersion{4, 10}));
    EXPECT_TRUE(UseCaptureBlt(OsVersion{5, 1}));
    EXPECT_TRUE(UseCaptureBlt(OsVersion{10, 0}));
    EXPECT_TRUE(UseCaptureBlt(std::nullopt));
}

TEST(ScreenGrabTest, ScreenPixelsKeepTheirColoursAndTheirFourthByteIsNoAlpha) {
    for (int bpp : {24, 32}) {
        SCOPED_TRACE(bpp);
        Bitmap picture(5, 3, bpp);
        // What a display hands over: any byte anywhere, the padding of 32-bit pixels too.
        std::vector<std::uint8_t> screen(picture.DataSize());
        for (std::size_t i = 0; i < screen.size(); ++i) screen[i] = std::uint8_t(i * 37 + 11);
        CopyScreenPixels(screen.data(), picture);
        for (std::size_t i = 0; i < screen.size(); ++i) {
            const bool fourth = bpp == 32 && i % 4 == 3;
            ASSERT_EQ(picture.Data()[i], fourth ? 0 : screen[i]) << "byte " << i;
        }
    }
}

Bitmap Numbered(int w, int h, int bpp) {
    Bitmap b(w, h, bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bpp == 8)
                b.Row(y)[x] = std::uint8_t(y * w + x);
            else
                b.SetPixelColour(x, y, RgbQuad{std::uint8_t(x), std::uint8_t(y), 7, 0});
        }
    return b;
}

TEST(CopyAreaTest, TakesTheAreaAndBlacksOutWhatLiesOutside) {
    for (int bpp : {24, 32}) {
        Bitmap source = Numbered(10, 8, bpp);
        Bitmap inside = CopyArea(source, Rect{2, 3, 6, 8});
        ASSERT_EQ(inside.Width(), 4);
        ASSERT_EQ(inside.Height(), 5);
        EXPECT_EQ(inside.BitsPerPixel(), bpp);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(inside.PixelColour(x, y), source.PixelColour(x + 2, y + 3));

        Bitmap overhang = CopyArea(source, Rect{-2, -1, 3, 2});
        ASSERT_EQ(overhang.Width(), 5);
        EXPECT_EQ(overhang.PixelColour(0, 0), RgbQuad{});
        EXPECT_EQ(overhang.PixelColour(1, 2), RgbQuad{});
        EXPECT_EQ(overhang.PixelColour(2, 1), source.PixelColour(0, 0));
        EXPECT_EQ(overhang.PixelColour(4, 2), source.PixelColour(2, 1));

        EXPECT_TRUE(CopyArea(source, Rect{20, 20, 30, 30}).PixelColour(9, 9) == RgbQuad{});
        EXPECT_TRUE(CopyArea(source, Rect{6, 3, 2, 8}).Empty());
        EXPECT_TRUE(CopyArea(source, Rect{2, 3, 2, 8}).Empty());
    }
}

TEST(CopyAreaTest, PalettePicturesKeepTheirColourTable) {
    Bitmap source = Numbered(4, 4, 8);
    source.Palette()[9] = RgbQuad{1, 2, 3, 0};
    Bitmap copy = CopyArea(source, Rect{1, 2, 3, 4});
    EXPECT_EQ(copy.BitsPerPixel(), 8);
    EXPECT_EQ(copy.Row(0)[0], 9);
    EXPECT_EQ(copy.PixelColour(0, 0), (RgbQuad{1, 2, 3, 0}));
}

}  // namespace
}  // namespace vimbrel
