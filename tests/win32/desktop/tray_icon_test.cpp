#include "desktop/win32/tray_icon.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include "desktop/win32/timer_pool.h"

#include "message_pump.h"

namespace vimbrel::win32 {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

// The x64 header layout of the shell's first record.
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uID) == 16);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == 20);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 24);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 32);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 40);
static_assert(NOTIFYICONDATAA_V1_SIZE == 104);

TEST(NotifyIconData, CarriesTheRecordInTheFirstLayout) {
    TrayIconRecord rec;
    rec.Flags = 7;
    rec.CallbackMessage = 0xC0DE;
    rec.Icon = 0x1234;
    rec.Tip = std::string(80, 't');
    HWND w = reinterpret_cast<HWND>(0x5678);
    const NOTIFYICONDATAA d = MakeNotifyIconData(w, rec);
    EXPECT_EQ(d.cbSize, 104u);
    EXPECT_EQ(d.hWnd, w);
    EXPECT_EQ(d.uID, 0u);
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 0xC0DEu);
    EXPECT_EQ(d.hIcon, reinterpret_cast<HICON>(0x1234));
    EXPECT_EQ(std::strlen(d.szTip), 63u);
    rec.Tip.clear();
    EXPECT_EQ(MakeNotifyIconData(w, rec).szTip[0], '\0');
}

TEST(NotifyIconData, ABalloonTakesTheSecondLayoutWithAWarningIcon) {
    TrayIconRecord rec;
    rec.Flags = NIF_INFO_FLAG;
    rec.InfoTitle = std::string(80, 't');
    rec.Info = std::string(300, 'x');
    const NOTIFYICONDATAA d = MakeNotifyIconData(nullptr, rec);
    EXPECT_EQ(d.cbSize, DWORD(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(d.uFlags, DWORD(NIF_INFO));
    EXPECT_EQ(std::strlen(d.szInfo), 255u);
    EXPECT_EQ(std::strlen(d.szInfoTitle), 63u);
    EXPECT_EQ(d.dwInfoFlags, DWORD(NIIF_WARNING));
}

// A 16 x 16, 32-bit icon in the icon-file format.
std::vector<std::uint8_t> SmallIconFile() {
    std::vector<std::uint8_t> f{0, 0, 1, 0, 1, 0};
    const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    const std::uint8_t entry[16] = {16, 16, 0, 0, 1, 0, 32, 0,
                                    static_cast<std::uint8_t>(imageSize), static_cast<std::uint8_t>(imageSize >> 8), 0, 0,
                                    22, 0, 0, 0};
    f.insert(f.end(), entry, entry + 16);
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = 16;
    h.biHeight = 32;  // colour and mask
    h.biPlanes = 1;
    h.biBitCount = 32;
    const auto* p = reinterpret_cast<const std::uint8_t*>(&h);
    f.insert(f.end(), p, p + 40);
    for (int i = 0; i < 16 * 16; ++i) f.insert(f.end(), {0x20, 0x80, 0xE0, 0xFF});
    f.insert(f.end(), 16 * 4, 0);
    return f;
}

TEST(IconFromIconFile, ReadsAnIconAndRefusesDamagedData) {
    const std::vector<std::uint8_t> good = SmallIconFile();
    HICON icon = IconFromIconFile(good);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bm{};
    ::GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 16);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);

    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 100);
    std::vector<std::uint8_t> badOffset = good;
    badOffset[18] = 0xFF;
    badOffset[19] = 0xFF;
    badOffset[20] = 0xFF;
    const std::vector<std::vector<std::uint8_t>> damaged{{}, {0, 0, 1, 0}, {0, 0, 2, 0, 1, 0}, {0, 0, 1, 0, 5, 0},
                                                         truncated, badOffset};
    for (const auto& d : damaged) EXPECT_EQ(IconFromIconFile(d), nullptr) << d.size();
}

TEST(WinTrayShell, HideApplicationButtonRestylesTheApplicationWindowNotTheOwnedWindowsFrame) {
    HWND application = ::CreateWindowExA(0, "STATIC", "application", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                                         nullptr);
    HWND owned = ::CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, application, nullptr,
                                   nullptr, nullptr);
    HWND alone = ::CreateWindowExA(WS_EX_APPWINDOW, "STATIC", "alone", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_TRUE(application && owned && alone);
    TWindowedComponent receiver;
    WinTrayShell(receiver, owned).HideApplicationButton();
    EXPECT_TRUE(::GetWindowLongPtrA(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::GetWindowLongPtrA(owned, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "the window keeps its own frame";

    WinTrayShell(receiver, alone).HideApplicationButton();
    const LONG_PTR ex = ::GetWindowLongPtrA(alone, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    ::DestroyWindow(alone);
    ::DestroyWindow(owned);
    ::DestroyWindow(application);
}

class TrayHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!::FindWindowA("Shell_TrayWnd", nullptr))
            GTEST_SKIP() << "no taskbar window (Shell_TrayWnd) in this desktop";
    }
    WinTimerPool pool;
    TrayIconHost host{nullptr, pool.Pool()};
};

TEST_F(TrayHostTest, ShellAcceptsAddModifyAndDelete) {
    TWindowedComponent receiver;
    WinTrayShell shell(receiver, nullptr);
    TrayIconRecord rec;
    rec.Flags = 7;
    rec.CallbackMessage = shell.CallbackMessage();
    rec.Icon = shell.DefaultIcon();
    rec.Tip = "Vimbrel test";
    EXPECT_TRUE(shell.NotifyIcon(TrayOperation::Add, rec));
    rec.Flags = 4;
    rec.Tip = "changed";
    EXPECT_TRUE(shell.NotifyIcon(TrayOperation::Modify, rec));
    EXPECT_TRUE(shell.NotifyIcon(TrayOperation::Delete, rec));
    EXPECT_FALSE(shell.NotifyIcon(TrayOperation::Modify, rec)) << "the icon should be gone";
    shell.DestroyIcon(rec.Icon);
}

TEST_F(TrayHostTest, CallbackMessageReachesTheEvents) {
    int doubleClicks = 0, clicks = 0;
    host.Tray().OnDblClick = [&](TAnimatedTrayIcon&) { ++doubleClicks; };
    host.Tray().OnClick = [&](TAnimatedTrayIcon&) { ++clicks; };
    host.Tray().SetHint("  Vimbrel   ");
    host.Tray().SetActive(true);
    EXPECT_TRUE(host.Tray().Active());
    const UINT callback = ::RegisterWindowMessageA("TAnimatedTrayIconCallBackMsg");
    for (LPARAM m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::PostMessageA(host.Handle(), callback, 0, m);
    EXPECT_TRUE(PumpUntil([&] { return doubleClicks == 1; }, 3000));
    PumpFor(100);
    EXPECT_EQ(clicks, 1);
    // Another icon id is not ours.
    ::PostMessageA(host.Handle(), callback, 1, WM_LBUTTONDBLCLK);
    PumpFor(100);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(TrayHostTest, NewTaskbarGetsTheIconBack) {
    host.Tray().SetActive(true);
    // As after a shell restart: the old icon is gone, the broadcast brings it back.
    NOTIFYICONDATAA d = MakeNotifyIconData(host.Handle(), TrayIconRecord{});
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &d));
    ::SendMessageA(host.Handle(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    d.uFlags = NIF_TIP;
    EXPECT_TRUE(::Shell_NotifyIconA(NIM_MODIFY, &d)) << "icon not added again";
}

// Stands in for the main window: records the messages the tray sends it.
class OwnerWindow final : public TWindowedComponent {
public:
    std::vector<std::pair<UINT, WPARAM>> got;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND || message == WM_USER) got.emplace_back(message, wParam);
        return DefaultHandler(message, wParam, lParam);
    }
};

TEST_F(TrayHostTest, RightClickOpensTheMenuAndTheChosenCommandReachesTheOwner) {
    OwnerWindow owner;
    TrayIconHost tray(owner.Handle(), pool.Pool());
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 101, "&Restore");
    ::AppendMenuA(menu, MF_STRING, 102, "&Close");
    tray.SetPopupMenu(menu);
    tray.Tray().SetActive(true);
    // Once the menu is open, pick its second item with the keyboard.
    std::thread picker([] {
        HWND m = nullptr;
        for (int i = 0; i < 200 && !(m = ::FindWindowA("#32768", nullptr)); ++i) ::Sleep(10);
        ::Sleep(100);
        for (WPARAM vk : {VK_DOWN, VK_DOWN, VK_RETURN}) ::PostMessageA(m, WM_KEYDOWN, vk, 0);
    });
    ::SendMessageA(tray.Handle(), ::RegisterWindowMessageA("TAnimatedTrayIconCallBackMsg"), 0, WM_RBUTTONDOWN);
    picker.join();
    PumpUntil([&] { return owner.got.size() >= 2; }, 2000);
    EXPECT_EQ(owner.got, (std::vector<std::pair<UINT, WPARAM>>{{WM_COMMAND, 102}, {WM_USER, 0}}));
    tray.SetPopupMenu(nullptr);
    ::DestroyMenu(menu);
}

TEST(WinTimerPool, AnimationPlaysOnTheRealThreadAndTheThreadEnds) {
    WinTimerPool pool;
    TAnimatedIcons icons(pool.Pool());
    std::vector<int> frames;
    bool stopped = false;
    icons.OnNewFrame = [&](TAnimatedIcons&, int f) { frames.push_back(f); };
    icons.OnStopped = [&](TAnimatedIcons&) { stopped = true; };
    icons.Add(TAnimatedIcon{1, {}});
    icons.Add(TAnimatedIcon{2, {}});
    icons.Play(2);
    EXPECT_TRUE(pool.Pool().ThreadRunning());
    EXPECT_TRUE(PumpUntil([&] { return stopped; }, 5000));
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 0, 1}));
    EXPECT_FALSE(pool.Pool().ThreadRunning());
}

}  // namespace
}  // namespace vimbrel::win32
