#include "desktop/tray_icon.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fake_timing.h"

namespace vimbrel {
namespace {

using testing::FakeTimingThreads;

constexpr std::uint32_t kCallback = 0xC123;
constexpr IconHandle kDefaultIconBase = 1000;

// Records every notification; hands out numbered icons and counts what is given back.
class FakeShell : public TrayShell {
public:
    struct Call {
        TrayOperation op;
        TrayIconRecord rec;
    };

    std::uint32_t CallbackMessage() override { return kCallback; }
    bool NotifyIcon(TrayOperation op, const TrayIconRecord& rec) override {
        calls.push_back({op, rec});
        if (live.count(rec.Icon))
            names[rec.Icon] = live[rec.Icon];
        else if (foreign.count(rec.Icon))
            names[rec.Icon] = foreign[rec.Icon];
        else if (rec.Icon)
            badIcon = true;
        return true;
    }
    bool TaskbarExists() override { return taskbarAfterWaits <= 0; }
    bool WaitForTaskbar() override {
        ++waits;
        --taskbarAfterWaits;
        return waits != quitAtWait;
    }
    TShiftState ShiftState() override { return shift; }
    void ShowPopupMenu(MenuHandle menu) override { log.push_back("menu " + std::to_string(menu)); }
    void HideApplicationButton() override { log.push_back("hide button"); }
    IconHandle DefaultIcon() override { return Make("TRAYICON"); }
    IconHandle CopyIcon(IconHandle icon) override { return Make("copy of " + std::to_string(icon)); }
    IconHandle IconFromData(const std::vector<std::uint8_t>& data) override {
        return data.empty() ? 0 : Make("frame " + std::to_string(data[0]));
    }
    void DestroyIcon(IconHandle icon) override {
        if (!live.erase(icon)) badIcon = true;
    }

    IconHandle Make(const std::string& what) {
        const IconHandle h = next++;
        live[h] = what;
        return h;
    }
    std::string IconOf(const Call& c) const {
        auto it = names.find(c.rec.Icon);
        return it == names.end() ? "" : it->second;
    }

    std::vector<Call> calls;
    std::vector<std::string> log;
    std::map<IconHandle, std::string> live;   // handed out, not yet destroyed
    std::map<IconHandle, std::string> names;  // every icon the shell was shown, by handle
    std::map<IconHandle, std::string> foreign;
    int taskbarAfterWaits = 0;
    int waits = 0;
    int quitAtWait = -1;
    TShiftState shift = 0;
    bool badIcon = false;
    IconHandle next = kDefaultIconBase;
};

class TrayTest : public ::testing::Test {
protected:
    ~TrayTest() override {
        tray.reset();
        EXPECT_TRUE(shell.live.empty()) << "icons leaked";
        EXPECT_FALSE(shell.badIcon) << "an icon was used or destroyed after it was given back";
    }
    std::vector<std::string> Icons() const {
        std::vector<std::string> out;
        for (const auto& c : shell.calls) out.push_back(shell.IconOf(c));
        return out;
    }
    FakeShell shell;
    FakeTimingThreads threads;
    TTimerPool pool{threads.Factory()};
    std::unique_ptr<TAnimatedTrayIcon> tray = std::make_unique<TAnimatedTrayIcon>(shell, pool);
};

TEST(ShellIcon, GivesEachIconBackOnceAndNeverTheEmptyOne) {
    FakeShell shell;
    const IconHandle first = shell.Make("first"), second = shell.Make("second");
    {
        ShellIcon icon(shell, first);
        icon.reset(first);
        EXPECT_EQ(shell.live.count(first), 1u) << "the icon it holds again stays";
        icon.reset(second);
        EXPECT_EQ(shell.live.count(first), 0u);
        EXPECT_EQ(shell.live.count(second), 1u);
        icon.reset();
        EXPECT_TRUE(shell.live.empty());
    }
    EXPECT_FALSE(shell.badIcon) << "given back twice, or 0 given back";
    {
        ShellIcon icon(shell, shell.Make("last"));
    }
    EXPECT_TRUE(shell.live.empty()) << "the end gives back what it held";
    EXPECT_FALSE(shell.badIcon);
}

TEST_F(TrayTest, ActivatingAddsTheIconWithEverythingAndDestroyingDeletesIt) {
    tray->SetHint("  Vimbrel   Auto Print On");
    tray->SetActive(true);
    ASSERT_EQ(shell.calls.size(), 1u);
    const auto& add = shell.calls[0];
    EXPECT_EQ(add.op, TrayOperation::Add);
    EXPECT_EQ(add.rec.Flags, 7u);
    EXPECT_EQ(add.rec.CallbackMessage, kCallback);
    EXPECT_EQ(shell.IconOf(add), "TRAYICON");
    EXPECT_EQ(add.rec.Tip, "  Vimbrel   Auto Print On");
    tray.reset();
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[1].op, TrayOperation::Delete);
    EXPECT_EQ(shell.calls[1].rec.Flags, 7u);
}

TEST_F(TrayTest, ABalloonNeedsTheShownIconAndIsCutToTheShellsLengths) {
    EXPECT_FALSE(tray->ShowBalloon("Title", "Text")) << "no icon shown yet";
    EXPECT_TRUE(shell.calls.empty());
    tray->SetActive(true);
    EXPECT_TRUE(tray->ShowBalloon(std::string(70, 't'), std::string(300, 'x')));
    ASSERT_EQ(shell.calls.size(), 2u);
    const auto& balloon = shell.calls[1];
    EXPECT_EQ(balloon.op, TrayOperation::Modify);
    EXPECT_EQ(balloon.rec.Flags, NIF_INFO_FLAG);
    EXPECT_EQ(balloon.rec.InfoTitle, std::string(63, 't'));
    EXPECT_EQ(balloon.rec.Info, std::string(255, 'x'));
}

TEST_F(TrayTest, ActivatingWaitsForTheTaskbar) {
    shell.taskbarAfterWaits = 3;
    tray->SetActive(true);
    EXPECT_EQ(shell.waits, 3);
    EXPECT_EQ(shell.calls.size(), 1u);
    tray->SetActive(true);  // no change
    EXPECT_EQ(shell.calls.size(), 1u);
}

TEST_F(TrayTest, EndingTheProgramEndsTheWaitForTheTaskbar) {
    shell.taskbarAfterWaits = 1000;
    shell.quitAtWait = 2;
    tray->SetActive(true);
    EXPECT_EQ(shell.waits, 2);
    EXPECT_TRUE(tray->Active());
    EXPECT_TRUE(shell.calls.empty());
    tray->TaskbarRecreated();  // the taskbar came after all
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].op, TrayOperation::Add);
}

TEST_F(TrayTest, TipIsCutTo63CharactersAndEmptyWhenHintsAreOff) {
    const std::string hint(80, 'h');
    tray->SetHint(hint);
    EXPECT_TRUE(shell.calls.empty());  // inactive: nothing sent
    tray->SetActive(true);
    EXPECT_EQ(shell.calls.back().rec.Tip, std::string(63, 'h'));
    tray->SetHint(hint);  // same text
    EXPECT_EQ(shell.calls.size(), 1u);
    tray->SetShowHint(false);
    EXPECT_EQ(shell.calls.back().op, TrayOperation::Modify);
    EXPECT_EQ(shell.calls.back().rec.Flags, 4u);
    EXPECT_EQ(shell.calls.back().rec.Tip, "");
    tray->SetShowHint(false);
    EXPECT_EQ(shell.calls.size(), 2u);
    tray->SetHint("x");
    EXPECT_EQ(shell.calls.back().rec.Tip, "");
}

TEST_F(TrayTest, IconIsCopiedAndNoIconMeansTheBuiltInOne) {
    shell.foreign[77] = "caller's icon";
    tray->SetActive(true);
    tray->SetIcon(77);
    EXPECT_EQ(shell.calls.back().op, TrayOperation::Modify);
    EXPECT_EQ(shell.calls.back().rec.Flags, 2u);
    EXPECT_EQ(shell.IconOf(shell.calls.back()), "copy of 77");
    tray->SetIcon(0);
    EXPECT_EQ(shell.IconOf(shell.calls.back()), "TRAYICON");
    EXPECT_EQ(shell.live.size(), 1u);  // the replaced copies were given back
}

TEST_F(TrayTest, MouseCallbacksBecomeEvents) {
    std::vector<std::string> events;
    auto name = [](TMouseButton b) { return b == TMouseButton::mbLeft ? "L" : b == TMouseButton::mbRight ? "R" : "M"; };
    tray->OnClick = [&](TAnimatedTrayIcon&) { events.push_back("click"); };
    tray->OnDblClick = [&](TAnimatedTrayIcon&) { events.push_back("dbl"); };
    tray->OnMouseMove = [&](TAnimatedTrayIcon&) { events.push_back("move"); };
    tray->OnMouseDown = [&](TAnimatedTrayIcon&, TMouseButton b, TShiftState s) {
        events.push_back(std::string("down ") + name(b) + (s & ssDouble ? " double" : "") + (s & ssCtrl ? " ctrl" : ""));
    };
    tray->OnMouseUp = [&](TAnimatedTrayIcon&, TMouseButton b, TShiftState s) {
        events.push_back(std::string("up ") + name(b) + (s & ssCtrl ? " ctrl" : ""));
    };
    struct Case {
        const char* what;
        std::vector<std::uint32_t> messages;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"click", {0x201, 0x202}, {"down L", "click", "up L"}},
        {"double click",
         {0x201, 0x202, 0x203, 0x202},
         {"down L", "click", "up L", "dbl", "down L double", "up L"}},
        {"click after a double click", {0x203, 0x202, 0x201, 0x202}, {"dbl", "down L double", "up L", "down L", "click", "up L"}},
        {"move", {0x200}, {"move"}},
        {"right", {0x204, 0x205, 0x206}, {"down R", "up R", "down R double"}},
        {"middle", {0x207, 0x208, 0x209}, {"down M", "up M", "down M double"}},
        {"other mouse messages", {0x20A, 0x100}, {}},
    };
    for (const Case& c : cases) {
        events.clear();
        for (std::uint32_t m : c.messages) EXPECT_TRUE(tray->HandleCallback(kCallback, 0, m));
        EXPECT_EQ(events, c.events) << c.what;
    }
    shell.shift = ssCtrl;
    events.clear();
    tray->HandleCallback(kCallback, 0, 0x201);
    tray->HandleCallback(kCallback, 0, 0x202);
    EXPECT_EQ(events, (std::vector<std::string>{"down L ctrl", "click", "up L ctrl"}));
    // Not the icon's message, or another icon id: left for the window's default handling.
    events.clear();
    EXPECT_FALSE(tray->HandleCallback(kCallback + 1, 0, 0x203));
    EXPECT_FALSE(tray->HandleCallback(kCallback, 1, 0x203));
    EXPECT_TRUE(events.empty());
}

TEST_F(TrayTest, RightButtonOpensThePopupMenuAfterTheEvent) {
    tray->OnMouseDown = [&](TAnimatedTrayIcon&, TMouseButton, TShiftState) { shell.log.push_back("down"); };
    tray->HandleCallback(kCallback, 0, 0x204);
    EXPECT_EQ(shell.log, std::vector<std::string>{"down"});
    tray->SetPopupMenu(42);
    tray->HandleCallback(kCallback, 0, 0x204);
    EXPECT_EQ(shell.log, (std::vector<std::string>{"down", "down", "menu 42"}));
    tray->HideApplicationButton();
    EXPECT_EQ(shell.log.back(), "hide button");
}

TEST_F(TrayTest, NewTaskbarGetsTheIconAgain) {
    tray->TaskbarRecreated();
    EXPECT_TRUE(shell.calls.empty());
    tray->SetActive(true);
    tray->TaskbarRecreated();
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[1].op, TrayOperation::Add);
    EXPECT_EQ(shell.calls[1].rec.Flags, 7u);
}

class AnimatedTrayTest : public TrayTest {
protected:
    void SetUp() override {
        TAnimatedIcons frames(pool);
        for (std::uint8_t i : {0, 1, 2}) frames.Add(TAnimatedIcon{i == 1 ? 100 : 50, {i}});
        tray->SetAnimation(frames);
        tray->OnEndAnimation = [&](TAnimatedTrayIcon&) { ended.push_back(threads.now); };
    }
    std::vector<std::uint32_t> ended;
};

TEST_F(AnimatedTrayTest, ShowsFrameZeroAtOnceThenEachFrameAfterItsDelay) {
    tray->SetRepeatCount(2);
    tray->SetStyle(TTrayIconStyle::tsAnimated);
    EXPECT_FALSE(threads.Running());  // inactive: nothing plays
    tray->SetActive(true);
    EXPECT_TRUE(threads.Running());
    threads.Run(10000);
    EXPECT_EQ(Icons(), (std::vector<std::string>{"frame 0", "frame 0", "frame 1", "frame 2", "frame 0", "frame 1",
                                                 "frame 2"}));
    EXPECT_EQ(ended, std::vector<std::uint32_t>{4000});
    EXPECT_FALSE(threads.Running());
    for (std::size_t i = 1; i < shell.calls.size(); ++i) EXPECT_EQ(shell.calls[i].rec.Flags, 2u);
}

TEST_F(AnimatedTrayTest, WithoutRepeatCountRunsUntilStyleChangesAndNeverEnds) {
    tray->SetStyle(TTrayIconStyle::tsAnimated);
    tray->SetActive(true);
    threads.Run(6000);
    EXPECT_TRUE(threads.Running());
    tray->SetStyle(TTrayIconStyle::tsNormal);
    EXPECT_FALSE(threads.Running());
    EXPECT_EQ(Icons().back(), "TRAYICON");
    EXPECT_TRUE(ended.empty());
}

TEST_F(AnimatedTrayTest, DeactivatingStopsTheAnimationWithoutEndEvent) {
    tray->SetRepeatCount(5);
    tray->SetStyle(TTrayIconStyle::tsAnimated);
    tray->SetActive(true);
    threads.Run(700);
    tray->SetActive(false);
    EXPECT_FALSE(threads.Running());
    EXPECT_EQ(shell.calls.back().op, TrayOperation::Delete);
    const std::size_t calls = shell.calls.size();
    threads.Run(5000);
    EXPECT_EQ(shell.calls.size(), calls);
    EXPECT_TRUE(ended.empty());
}

TEST_F(AnimatedTrayTest, ChangesRestartFromFrameZeroAndNegativeRepeatCountIsIgnored) {
    tray->SetStyle(TTrayIconStyle::tsAnimated);
    tray->SetActive(true);
    threads.Run(1600);  // frames 0 and 1 announced
    tray->SetRepeatCount(-1);
    EXPECT_EQ(tray->RepeatCount(), 0);
    const std::size_t calls = shell.calls.size();
    tray->SetRepeatCount(1);
    EXPECT_EQ(shell.calls.size(), calls + 1);
    EXPECT_EQ(Icons().back(), "frame 0");
    threads.Run(500);
    EXPECT_EQ(Icons().back(), "frame 0");  // frame 0 again after its own delay, not frame 2
    threads.Run(10000);
    EXPECT_EQ(ended.size(), 1u);
}

}  // namespace
}  // namespace vimbrel
