// The capture commands over fakes of the screen, the overlay and the desktop: what each
// capture takes, the post-capture actions in their order and per path, and the hotkeys'
// busy guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <stdexcept>

#include "capture/capture_commands.h"
#include "capture/delayed_capture_commands.h"
#include "desktop/sys_hotkey.h"
#include "fake_ports.h"

namespace vimbrel {
namespace {

using testing::Filled;

struct Fakes : testing::FakeWindow, Screen, AreaOverlay, CaptureDesktop, testing::NoRegistrar {
    bool console = false;
    std::deque<AreaChoice> choices;
    std::function<void()> duringOverlay;
    std::deque<bool> tryAgainAnswers;
    std::function<void()> duringGrab;
    // The colour of the next screen grab, and the width of each picture a grab was lent.
    std::uint8_t screenFill = 1;
    std::vector<int> lentWidths;
    // Each picture the view was given to show: how many log entries came before it, its width.
    std::vector<std::pair<std::size_t, int>> pictures;
    void ShowImage1(const Bitmap& image1) override { pictures.emplace_back(log.size(), image1.Width()); }

    // The screen: a 40 x 30 screen, windows at (5, 6) of 12 x 8.
    void GrabScreen(Bitmap& bitmap) override {
        log.push_back("grab screen");
        lentWidths.push_back(bitmap.Width());
        if (duringGrab) duringGrab();
        bitmap = Filled(40, 30, screenFill);
    }
    std::optional<Rect> GrabWindow(WindowId window, Bitmap& bitmap) override {
        log.push_back("grab window " + std::to_string(window));
        bitmap = Filled(12, 8, 2);
        return Rect{5, 6, 17, 14};
    }
    void DrawMouseCursor(Bitmap&, Point origin, bool inclMouse) override {
        if (inclMouse) log.push_back("pointer at " + std::to_string(origin.x) + "," + std::to_string(origin.y));
    }
    AreaChoice Run() override {
        log.push_back("overlay");
        if (duringOverlay) duringOverlay();
        AreaChoice c = std::move(choices.front());
        choices.pop_front();
        return c;
    }

    // The desktop.
    bool ConsoleInForeground() override { return console; }
    WindowId CaptureTarget(WindowId remembered) override { return remembered; }
    void BringToFront(WindowId window) override { log.push_back("front " + std::to_string(window)); }
    std::string WindowTitle(WindowId) override { return "Untitled - Notepad"; }
    void Pause(int ms) override { log.push_back("pause " + std::to_string(ms)); }
    bool AskOkCancel(const std::string& text) override {
        log.push_back(text == kAreaTryAgain ? "try again?" : text);
        bool ok = tryAgainAnswers.front();
        tryAgainAnswers.pop_front();
        return ok;
    }
};

struct NoFiles : FileSystemPort {
    bool FileExists(const std::string&) const override { return false; }
    bool FolderExists(const std::string&) const override { return false; }
    std::optional<std::uint64_t> FileSize(const std::string&) const override { return {}; }
    bool CreateFolderPath(const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
};

AreaChoice Chosen(Rect selection, Bitmap desktop = Filled(40, 30, 3)) {
    return AreaChoice{true, selection, std::move(desktop), Point{0, 0}};
}

class CaptureCommandsTest : public ::testing::Test {
protected:
    CaptureCommandsTest() {
        image.Start();
        commands.SetEnabled(cmd::PrintSetup1, true);  // a printer is installed
        commands.SetChecked(cmd::mnuSetScreen, true);
        testing::LogRoutes(router, f.log,
                           {{handler::Copy, "copy"}, {handler::Print, "print"}, {handler::NumberedSave, "save"},
                            {handler::Editor, "editor"}});
        captures.BindTo(router);
        hotKeys.SetActive(true);
    }
    void AllOutputsOn() {
        flags.PopUp = flags.AutoClipCopy = flags.AutoEdit = true;
        captures.mnuAutoPrintClick();
        captures.mnuAutoSaveClick();
    }
    // What the post-capture actions did, in order.
    std::vector<std::string> Outputs() const {
        std::vector<std::string> out;
        for (const std::string& entry : f.log)
            if (entry == "pop-up" || entry == "copy" || entry == "print" || entry == "save" || entry == "editor")
                out.push_back(entry);
        return out;
    }

    Fakes f;
    NoFiles files;
    testing::MemoryStore store;
    OptionFlags flags;
    CommandStates commands;
    CommandRouter router{testing::StandardTable()};
    TSysHotKey hotKeys{f};
    CurrentImage image{commands, f, f, [] { return false; }};
    CommandDeps deps{image, flags, commands, store, files, f, f, f, f, hotKeys, router, "", ""};
    CaptureCommands captures{deps, f, f, f};
};

TEST_F(CaptureCommandsTest, AFullScreenCaptureCopiesPrintsSavesAndStartsTheEditorInThatOrder) {
    AllOutputsOn();
    f.log.clear();
    router.Route(handler::HotKey, 0);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"pop-up", "copy", "print", "save", "editor"}));
    EXPECT_EQ(f.log.front(), "grab screen");
    EXPECT_EQ(f.log[1], "pointer at 0,0");
    EXPECT_EQ(image.imgMain.Width(), 40);
    EXPECT_EQ(f.statusText, "(40x 30) - Full Screen capture");
    EXPECT_TRUE(commands.Enabled(cmd::SaveAs1));
    EXPECT_TRUE(hotKeys.Active());
    EXPECT_FALSE(captures.HotKeyBusy());
}

TEST_F(CaptureCommandsTest, TheHotkeysAreOffWhileTheOverlayIsUpHoweverTheAreaCaptureStarted) {
    std::vector<bool> activeUnderOverlay;
    f.duringOverlay = [&] { activeUnderOverlay.push_back(hotKeys.Active()); };
    f.choices.push_back(Chosen(Rect{2, 3, 12, 9}));
    router.Route(handler::CaptureArea);  // the tool button, the tray's Capture Area Now
    f.choices.push_back(Chosen(Rect{2, 3, 12, 9}));
    router.Route(handler::Crop);
    EXPECT_EQ(activeUnderOverlay, (std::vector<bool>{false, false})) << "no capture may start under the overlay";
    EXPECT_TRUE(hotKeys.Active()) << "and they are on again after";
}

// The rows of the post-capture table: each path with every output switched on.
TEST_F(CaptureCommandsTest, EachPathRunsItsRowOfPostCaptureActions) {
    AllOutputsOn();
    const std::vector<std::string> all{"pop-up", "copy", "print", "save", "editor"};

    f.log.clear();
    f.target = 77;
    captures.CaptureActiveWindow();
    EXPECT_EQ(Outputs(), all);
    EXPECT_EQ(f.statusText, "(12x 8) - Captured: [Untitled - Notepad]");

    f.log.clear();
    f.choices.push_back(Chosen(Rect{2, 3, 12, 9}));
    router.Route(handler::CaptureArea);
    EXPECT_EQ(Outputs(), all);
    EXPECT_EQ(f.log.front(), "hide") << "Select an Area hides the window first";
    EXPECT_EQ(f.log[1], "pause 200") << "and waits for it to leave the screen";
    EXPECT_EQ(f.statusText, "(10x 6) - Selected area captured");

    f.log.clear();
    f.choices.push_back(Chosen(Rect{2, 3, 12, 9}));
    router.Route(handler::Crop);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"pop-up", "copy"})) << "a crop prints, saves and edits nothing";
    EXPECT_EQ(f.log.front(), "pause 200") << "the window stays up for a crop";
    EXPECT_FALSE(captures.CropMode());

    // With everything off, a capture only shows the picture.
    flags = OptionFlags{};
    flags.PopUp = false;
    captures.mnuAutoPrintClick();
    captures.mnuAutoSaveClick();
    f.log.clear();
    captures.CaptureFullScreen();
    EXPECT_TRUE(Outputs().empty());
    EXPECT_FALSE(flags.AutoPrint);
}

TEST_F(CaptureCommandsTest, UndoAfterACaptureBringsBackThePictureBeforeItAndAFailedGrabChangesNothing) {
    image.TakeUndoSnapshot();  // the run's first snapshot only primes
    image.imgMain = Filled(3, 3, 9);
    image.RenderShownImage(image.imgMain, 1.0);
    captures.CaptureFullScreen();
    EXPECT_EQ(image.imgMain.Width(), 40);
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, Filled(3, 3, 9));

    f.duringGrab = [] { throw std::runtime_error("no screen"); };
    EXPECT_THROW(captures.CaptureFullScreen(), std::runtime_error);
    EXPECT_EQ(image.imgMain, Filled(3, 3, 9));
}

TEST_F(CaptureCommandsTest, TheActiveWindowCaptureTakesTheTrackedWindowWithThePointerRelativeToIt) {
    image.imgMain = Filled(3, 3, 9);
    captures.CaptureActiveWindow();
    EXPECT_EQ(image.imgMain, Filled(3, 3, 9)) << "no window to take: no capture";
    EXPECT_EQ(f.log, std::vector<std::string>{std::string("warning ") + kNoWindowToCapture}) << "and the user is told";

    f.log.clear();
    f.target = 42;
    captures.CaptureActiveWindow();
    EXPECT_EQ(f.log[0], "front 42");
    EXPECT_EQ(f.log[1], "grab window 42");
    EXPECT_EQ(f.log[2], "pointer at 5,6");
}

TEST_F(CaptureCommandsTest, AHotkeyDuringAHotkeyCaptureDoesNothingAndTheHotkeysComeBackHoweverItEnds) {
    int grabs = 0;
    f.duringGrab = [&] {
        ++grabs;
        EXPECT_TRUE(captures.HotKeyBusy());
        EXPECT_FALSE(hotKeys.Active()) << "off for the whole capture";
        router.Route(handler::HotKey, 0);  // pressed again while pending messages run
    };
    router.Route(handler::HotKey, 0);
    EXPECT_EQ(grabs, 1);
    EXPECT_TRUE(hotKeys.Active());
    EXPECT_FALSE(captures.HotKeyBusy());

    f.duringGrab = [] { throw std::runtime_error("no screen"); };
    EXPECT_THROW(router.Route(handler::HotKey, 0), std::runtime_error);
    EXPECT_TRUE(hotKeys.Active()) << "a failed capture never leaves the program deaf to its hotkeys";
    EXPECT_FALSE(captures.HotKeyBusy());

    f.duringGrab = nullptr;
    f.console = true;
    f.log.clear();
    for (int entry : {0, 1, 2}) router.Route(handler::HotKey, entry);
    EXPECT_TRUE(f.log.empty()) << "a console in front takes its own keys";
    EXPECT_TRUE(hotKeys.Active());
}

TEST_F(CaptureCommandsTest, AnEmptySelectionAsksAgainAndOkOpensAFreshOverlay) {
    image.imgMain = Filled(3, 3, 9);
    image.CurrentFileName = "old.bmp";
    f.choices.push_back(Chosen(Rect{10, 5, 10, 20}));  // a click on no window
    f.choices.push_back(Chosen(Rect{10, 5, 30, 20}));
    f.tryAgainAnswers.push_back(true);
    captures.btnSelectClick();
    EXPECT_EQ(f.log[0], "hide");
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "overlay"), 2);
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "try again?"), 1);
    EXPECT_EQ(image.imgMain.Width(), 20);
    EXPECT_EQ(image.imgMain.Height(), 15);

    // Cancel ends the command with the picture as it was, only the name forgotten.
    image.imgMain = Filled(3, 3, 9);
    image.CurrentFileName = "old.bmp";
    f.log.clear();
    f.choices.push_back(Chosen(Rect{4, 4, 4, 9}));
    f.tryAgainAnswers.push_back(false);
    captures.CaptureArea();
    EXPECT_EQ(image.imgMain, Filled(3, 3, 9));
    EXPECT_EQ(image.CurrentFileName, "");
    EXPECT_TRUE(Outputs().empty());

    // An overlay closed by the system: no pixels and no actions on the old picture.
    flags.PopUp = true;
    f.log.clear();
    f.choices.push_back(AreaChoice{});
    captures.CaptureArea();
    EXPECT_EQ(image.imgMain, Filled(3, 3, 9));
    EXPECT_TRUE(Outputs().empty());
}

TEST_F(CaptureCommandsTest, AnAreaCaptureWaitsOnlyForAWindowThatIsLeavingTheScreen) {
    f.shown = false;  // in the tray
    f.choices.push_back(Chosen(Rect{10, 5, 10, 20}));  // a click on no window: asked again
    f.choices.push_back(Chosen(Rect{2, 3, 12, 9}));
    f.tryAgainAnswers.push_back(true);
    captures.btnSelectClick();
    std::vector<std::string> steps;
    for (const std::string& e : f.log)
        if (e == "hide" || e == "overlay" || e == "try again?" || e.rfind("pause 200", 0) == 0) steps.push_back(e);
    EXPECT_EQ(steps, (std::vector<std::string>{"hide", "overlay", "try again?", "pause 200", "overlay"}))
        << "no wait before the first overlay, but one for the question to go";
}

TEST_F(CaptureCommandsTest, ACancelledOverlayLeavesUndoWhereItWas) {
    f.choices.push_back(Chosen(Rect{0, 0, 7, 7}));
    captures.CaptureArea();  // the first snapshot only primes Undo
    const Bitmap first = image.imgMain;
    f.choices.push_back(Chosen(Rect{2, 3, 12, 9}));
    captures.CaptureArea();
    ASSERT_EQ(image.imgMain.Width(), 10);
    f.choices.push_back(AreaChoice{});  // Escape
    captures.CaptureArea();
    EXPECT_EQ(image.imgMain.Width(), 10);
    EXPECT_TRUE(hotKeys.Active());
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, first) << "Undo goes back past the capture, not to the cancelled one";
}

TEST_F(CaptureCommandsTest, AnAreaOverAZoomedViewKeepsThePicturesOwnScale) {
    image.imgMain = Filled(50, 50, 4);
    image.SetZoom(2, 1);
    f.choices.push_back(Chosen(Rect{0, 0, 200, 100}, Filled(300, 200, 5)));
    captures.btnCropClick();
    EXPECT_EQ(image.imgMain.Width(), 100);
    EXPECT_EQ(image.imgMain.Height(), 50);
    EXPECT_EQ(image.ZoomFactor(), 2.0) << "shown at the unchanged zoom";
    EXPECT_EQ(image.Image1().Width(), 200);
}

TEST(AreaPictureTest, SelectionsAreScreenCoordinatesAndRoundHalvesToEven) {
    // A monitor left of the primary: the frozen desktop starts at (-100, 0).
    Bitmap desktop = Filled(300, 50, 6);
    EXPECT_EQ(AreaPicture(AreaChoice{true, Rect{-90, 10, -80, 15}, desktop, Point{-100, 0}}, 1.0),
              CopyArea(desktop, Rect{10, 10, 20, 15}));
    EXPECT_EQ(AreaPicture(AreaChoice{true, Rect{-90, 10, -80, 15}, desktop, Point{-100, 0}}, 0.0),
              CopyArea(desktop, Rect{10, 10, 20, 15}))
        << "a zoom of 0 counts as 1";
    // 10 x 6 at 4:1: 2.5 and 1.5 both round to 2.
    Bitmap quarter = AreaPicture(AreaChoice{true, Rect{0, 0, 10, 6}, desktop, Point{0, 0}}, 4.0);
    EXPECT_EQ(quarter.Width(), 2);
    EXPECT_EQ(quarter.Height(), 2);
}

struct ManualTimer : SecondTimer {
    std::function<void()> tick;
    void Start(std::function<void()> t) override { tick = std::move(t); }
    void Stop() override { tick = nullptr; }
    // n seconds go by.
    void Pass(int n) {
        for (int k = 0; k < n && tick; ++k) tick();
    }
};

struct HintLog : CountdownHint {
    std::vector<std::string> hints;
    void ShowHint(const std::string& text) override { hints.push_back(text); }
};

class DelayedCaptureTest : public CaptureCommandsTest {
protected:
    DelayedCaptureTest() { delayed.BindTo(router); }
    int Grabs() const { return int(std::count(f.log.begin(), f.log.end(), "grab screen")); }

    ManualTimer timer;
    HintLog hint;
    DelayedCaptureCommands delayed{deps, captures, timer, hint};
};

TEST_F(DelayedCaptureTest, CountsDownInTheTrayHintAndThenCapturesWithTheHotkeysPostCaptureActions) {
    EXPECT_EQ(delayed.Delay(), 5) << "the default";
    AllOutputsOn();
    router.Route(handler::CaptureDelay, 3);
    EXPECT_EQ(store.Read("CaptureDelay"), "3");
    EXPECT_TRUE(commands.Checked(cmd::mnuDelay3));
    EXPECT_TRUE(commands.Checked(cmd::trayDelay3));
    EXPECT_FALSE(commands.Checked(cmd::mnuDelay5));
    f.log.clear();

    router.Route(handler::DelayedCapture, DelayedCaptureCommands::FullScreen);
    EXPECT_TRUE(commands.Checked(cmd::mnuDelayScreen)) << "the counting capture is checked";
    timer.Pass(2);
    EXPECT_EQ(Grabs(), 0);
    EXPECT_EQ(hint.hints, (std::vector<std::string>{"Full screen capture in 3 seconds", "Full screen capture in 2 seconds",
                                                    "Full screen capture in 1 second"}));
    timer.Pass(1);
    EXPECT_EQ(Grabs(), 1);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"pop-up", "copy", "print", "save", "editor"}));
    EXPECT_FALSE(delayed.Counting());
    EXPECT_FALSE(commands.Checked(cmd::mnuDelayScreen));
    EXPECT_TRUE(hotKeys.Active());
    EXPECT_FALSE(timer.tick) << "the timer stops";

    // The delay chosen is there at the next start.
    DelayedCaptureCommands again{deps, captures, timer, hint};
    EXPECT_EQ(again.Delay(), 3);
    again.SetDelay(7);
    EXPECT_EQ(again.Delay(), 3) << "only 3, 5 and 10 seconds are offered";
}

TEST_F(DelayedCaptureTest, ChoosingTheSameCaptureAgainCallsItOffAnotherOneTakesItsPlace) {
    router.Route(handler::DelayedCapture, DelayedCaptureCommands::Area);
    timer.Pass(2);
    router.Route(handler::DelayedCapture, DelayedCaptureCommands::Area);
    EXPECT_FALSE(delayed.Counting());
    EXPECT_FALSE(timer.tick);
    timer.Pass(10);
    EXPECT_TRUE(f.choices.empty() && std::count(f.log.begin(), f.log.end(), "overlay") == 0) << "nothing captured";

    router.Route(handler::DelayedCapture, DelayedCaptureCommands::Area);
    router.Route(handler::DelayedCapture, DelayedCaptureCommands::FullScreen);
    EXPECT_FALSE(commands.Checked(cmd::trayDelayArea));
    EXPECT_TRUE(commands.Checked(cmd::trayDelayScreen));
    EXPECT_EQ(delayed.SecondsLeft(), 5) << "a fresh count";
    timer.Pass(5);
    EXPECT_EQ(Grabs(), 1);
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "overlay"), 0);
}

TEST_F(DelayedCaptureTest, WaitsForModalWorkToEndBeforeItCaptures) {
    router.Route(handler::DelayedCapture, DelayedCaptureCommands::FullScreen);
    timer.Pass(4);
    {
        HotKeysOff dialogOpen(hotKeys);
        timer.Pass(3);
        EXPECT_EQ(Grabs(), 0) << "no capture inside a dialog";
    }
    timer.Pass(1);
    EXPECT_EQ(Grabs(), 1);
}

TEST_F(CaptureCommandsTest, TheShownImageIsRenderedAfterTheFileIsWrittenUnlessSomethingShowsOrTakesItFirst) {
    // Where in the log the view got the new 40-pixel picture, and where an output ran.
    auto shownAt = [this] {
        for (const auto& [at, width] : f.pictures)
            if (width == 40) return at;
        return std::size_t(-1);
    };
    auto logged = [this](const std::string& what) {
        return std::size_t(std::find(f.log.begin(), f.log.end(), what) - f.log.begin());
    };
    flags.PopUp = false;  // the pop-up shows the window: rendered before it
    captures.mnuAutoSaveClick();
    f.log.clear();
    router.Route(handler::HotKey, 0);
    ASSERT_LT(logged("save"), f.log.size());
    EXPECT_GT(shownAt(), logged("save")) << "the file is written before the shown image is rendered; log: "
                                         << ::testing::PrintToString(f.log);
    EXPECT_EQ(image.Image1().Width(), 40) << "and it is rendered before the capture ends";
    EXPECT_EQ(f.statusText, "(40x 30) - Full Screen capture");

    // With the copy on, the copy takes the new shown image: rendered before it.
    image.Clear1Click();
    f.pictures.clear();
    f.log.clear();
    flags.AutoClipCopy = true;
    router.Route(handler::HotKey, 0);
    ASSERT_LT(logged("copy"), f.log.size());
    EXPECT_LE(shownAt(), logged("copy"));
    EXPECT_LT(logged("copy"), logged("save"));
}

TEST_F(CaptureCommandsTest, AGrabReusesThePictureLeavingTheUndoSlotAndUndoStillBringsBackTheOneBefore) {
    for (std::uint8_t fill : {1, 2, 3}) {
        f.screenFill = fill;
        router.Route(handler::HotKey, 0);
    }
    // The first capture only primes undo; from the second on the slot's old picture is lent.
    EXPECT_EQ(f.lentWidths, (std::vector<int>{0, 0, 40}));
    const RgbQuad third = image.imgMain.PixelColour(0, 0);
    image.mnuUndoClick();
    EXPECT_NE(image.imgMain.PixelColour(0, 0), third);
    EXPECT_EQ(image.imgMain, Filled(40, 30, 2));
}

}  // namespace
}  // namespace vimbrel
