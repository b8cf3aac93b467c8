// The capture hotkeys held while the program runs, and its tray icon's callback.
#include <gtest/gtest.h>

#include "vimbrel_process.h"

namespace e2e {
namespace {

constexpr UINT kWin = MOD_WIN;

class HotKeysAndTrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
    }
};

TEST_F(HotKeysAndTrayTest, TheDefaultCaptureKeysAreHeldWhileTheProgramRuns) {
    ASSERT_TRUE(CombinationFree(0, VK_SNAPSHOT)) << "another program holds Print Screen already";
    {
        VimbrelProcess app("hotkeys-default");
        ASSERT_TRUE(app.Start());
        EXPECT_FALSE(CombinationFree(0, VK_SNAPSHOT));
        EXPECT_EQ(::GetLastError(), DWORD(ERROR_HOTKEY_ALREADY_REGISTERED));
        EXPECT_FALSE(CombinationFree(MOD_ALT, VK_SNAPSHOT));
        EXPECT_FALSE(CombinationFree(kWin, VK_SNAPSHOT));
        EXPECT_TRUE(CombinationFree(MOD_CONTROL, VK_SNAPSHOT)) << "only the three combinations are taken";
        ASSERT_TRUE(app.Exit());
    }
    EXPECT_TRUE(CombinationFree(0, VK_SNAPSHOT));
    EXPECT_TRUE(CombinationFree(MOD_ALT, VK_SNAPSHOT));
    EXPECT_TRUE(CombinationFree(kWin, VK_SNAPSHOT));
}

TEST_F(HotKeysAndTrayTest, StoredHotKeyTextsAreWhatIsHeld) {
    // "#78" is F10 in the key-name table (F1 is 69).
    WriteSetting("HotKeyFull", "Ctrl|Shift|#78");
    WriteSetting("HotKeyActive", "Alt|#78");
    WriteSetting("HotKeyArea", "Win|#78");
    VimbrelProcess app("hotkeys-custom");
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_SHIFT, VK_F10));
    EXPECT_FALSE(CombinationFree(MOD_ALT, VK_F10));
    EXPECT_FALSE(CombinationFree(kWin, VK_F10));
    EXPECT_TRUE(CombinationFree(0, VK_SNAPSHOT)) << "the defaults are not taken when others are stored";
    ASSERT_TRUE(app.Exit());
}

TEST_F(HotKeysAndTrayTest, DoubleClickingTheTrayIconBringsTheWindowUp) {
    VimbrelProcess app("tray");
    ASSERT_TRUE(app.Start());
    ASSERT_FALSE(::IsWindowVisible(app.MainWindow()));
    const UINT callback = ::RegisterWindowMessageA("TAnimatedTrayIconCallBackMsg");
    // The icon's callbacks arrive at a hidden window of the program; the shell sends them
    // with wParam 0 (the icon id) and the mouse message in lParam.
    auto receivers = TopWindowsOfClass("VimbrelWindowedComponent", app.ProcessId());
    ASSERT_FALSE(receivers.empty());
    for (HWND receiver : receivers) {
        ::PostMessageA(receiver, callback, 0, WM_LBUTTONDOWN);
        ::PostMessageA(receiver, callback, 0, WM_LBUTTONUP);
        ::PostMessageA(receiver, callback, 0, WM_LBUTTONDBLCLK);
        ::PostMessageA(receiver, callback, 0, WM_LBUTTONUP);
    }
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    ASSERT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
