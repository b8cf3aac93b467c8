#include "desktop/win32/sys_hotkey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/win32/handles.h"

#include "message_pump.h"

namespace vimbrel::win32 {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

// Presses Ctrl+Alt+key and lets go again.
void PressCtrlAlt(WORD vk) {
    std::vector<INPUT> in{Key(VK_CONTROL, false), Key(VK_MENU, false), Key(vk, false),
                          Key(vk, true),          Key(VK_MENU, true),  Key(VK_CONTROL, true)};
    ASSERT_EQ(::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)), in.size());
}

class SysHotKeyWinTest : public ::testing::Test {
protected:
    SysHotKeyWinTest() {
        host.HotKeys().OnHotKey = [this](TSysHotKey& sender, int index) {
            EXPECT_EQ(&sender, &host.HotKeys());
            fired.push_back(index);
        };
    }
    // Adds an entry from its settings text, as the main window does.
    THotKeyEntry Add(const std::string& text) {
        return host.HotKeys().AddHotKey(HotKeyTextKey(text), HotKeyTextModifiers(text));
    }
    SysHotKeyHost host;
    std::vector<int> fired;
};

// Ctrl+Alt with F5 to F12 (key-name rows 73 to 80), unlikely to be held by anything else.
std::string CtrlAltF(int n) { return std::string("Ctrl|Alt|#").append(std::to_string(68 + n)); }

TEST_F(SysHotKeyWinTest, RegisteredHotKeyFiresOnSendInput) {
    EXPECT_FALSE(host.Window().HandleAllocated());  // no window before it is needed
    host.HotKeys().SetActive(true);
    const THotKeyEntry e = Add(CtrlAltF(9));
    EXPECT_TRUE(e.Registered);
    EXPECT_TRUE(host.Window().HandleAllocated());
    PressCtrlAlt(VK_F9);
    EXPECT_TRUE(PumpUntil([&] { return !fired.empty(); }, 3000));
    EXPECT_EQ(fired, std::vector<int>{0});
}

TEST_F(SysHotKeyWinTest, DeleteMovesTheLaterEntriesToNewIds) {
    host.HotKeys().SetActive(true);
    for (int n : {5, 6, 7}) EXPECT_TRUE(Add(CtrlAltF(n)).Registered);
    host.HotKeys().DeleteHotKey(0);
    ASSERT_EQ(host.HotKeys().Count(), 2u);
    EXPECT_TRUE(host.HotKeys().Entry(0).Registered);
    EXPECT_TRUE(host.HotKeys().Entry(1).Registered);
    PressCtrlAlt(VK_F7);
    ASSERT_TRUE(PumpUntil([&] { return fired.size() == 1; }, 3000));
    PressCtrlAlt(VK_F6);
    ASSERT_TRUE(PumpUntil([&] { return fired.size() == 2; }, 3000));
    PressCtrlAlt(VK_F5);  // deleted: given back to the system
    PumpFor(300);
    EXPECT_EQ(fired, (std::vector<int>{1, 0}));
}

TEST_F(SysHotKeyWinTest, SameCombinationTwiceOnlyTheFirstHolds) {
    host.HotKeys().SetActive(true);
    EXPECT_TRUE(Add(CtrlAltF(8)).Registered);
    EXPECT_FALSE(Add(CtrlAltF(8)).Registered);
    PressCtrlAlt(VK_F8);
    ASSERT_TRUE(PumpUntil([&] { return !fired.empty(); }, 3000));
    PumpFor(200);
    EXPECT_EQ(fired, std::vector<int>{0});
}

TEST_F(SysHotKeyWinTest, TheThreeDefaultTextsRegisterAndPrintScreenFires) {
    host.HotKeys().SetActive(true);
    for (const char* text : {"#15", "Alt|#15", "Win|#15"}) EXPECT_TRUE(Add(text).Registered) << text;
    std::vector<INPUT> in{Key(VK_SNAPSHOT, false), Key(VK_SNAPSHOT, true)};
    ASSERT_EQ(::SendInput(2, in.data(), sizeof(INPUT)), 2u);
    EXPECT_TRUE(PumpUntil([&] { return !fired.empty(); }, 3000));
    in = {Key(VK_LWIN, false), Key(VK_SNAPSHOT, false), Key(VK_SNAPSHOT, true), Key(VK_LWIN, true)};
    ASSERT_EQ(::SendInput(4, in.data(), sizeof(INPUT)), 4u);
    EXPECT_TRUE(PumpUntil([&] { return fired.size() == 2; }, 3000));
    EXPECT_EQ(fired, (std::vector<int>{0, 2}));
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

// Number of visible top-level windows of this process.
int VisibleWindowsOfThisProcess() {
    int count = 0;
    ::EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(w)) ++*reinterpret_cast<int*>(p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(SysHotKeyWinTest, CombinationHeldByAnotherProcessIsRefusedQuietlyAndTakenLater) {
    UniqueKernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, "VimbrelTestHotKeyReady"));
    UniqueKernelHandle quit(::CreateEventA(nullptr, TRUE, FALSE, "VimbrelTestHotKeyQuit"));
    ASSERT_TRUE(ready && quit);
    std::string cmd = std::string("\"").append(ProgramFolder()) + "..\\..\\standins\\hotkey_holder.exe\" " + std::to_string(MOD_CONTROL | MOD_ALT) +
                      " " + std::to_string(VK_F10) + " VimbrelTestHotKeyReady VimbrelTestHotKeyQuit";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << cmd;
    UniqueKernelHandle process(pi.hProcess);
    UniqueKernelHandle thread(pi.hThread);
    HANDLE waits[] = {ready.get(), process.get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, waits, FALSE, 10000), WAIT_OBJECT_0) << "holder did not register";

    const int windowsBefore = VisibleWindowsOfThisProcess();
    host.HotKeys().SetActive(true);
    EXPECT_FALSE(Add(CtrlAltF(10)).Registered);
    EXPECT_TRUE(Add(CtrlAltF(11)).Registered);
    PumpFor(200);
    EXPECT_EQ(VisibleWindowsOfThisProcess(), windowsBefore);  // nothing shown
    PressCtrlAlt(VK_F10);
    PumpFor(300);
    EXPECT_TRUE(fired.empty());

    ::SetEvent(quit.get());
    ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
    // Not retried by itself; the next activation takes it.
    EXPECT_FALSE(host.HotKeys().Entry(0).Registered);
    host.HotKeys().SetActive(false);
    host.HotKeys().SetActive(true);
    EXPECT_TRUE(host.HotKeys().Entry(0).Registered);
    PressCtrlAlt(VK_F10);
    EXPECT_TRUE(PumpUntil([&] { return !fired.empty(); }, 3000));
    EXPECT_EQ(fired, std::vector<int>{0});
}

TEST(SysHotKeyHostLifetime, DestroyingTheHostGivesTheCombinationBack) {
    {
        SysHotKeyHost host;
        host.HotKeys().SetActive(true);
        ASSERT_TRUE(host.HotKeys().AddHotKey(HotKeyTextKey("Ctrl|Alt|#80"), HotKeyTextModifiers("Ctrl|Alt|#80")).Registered);
        EXPECT_FALSE(::RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F12));
    }
    EXPECT_TRUE(::RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F12));
    ::UnregisterHotKey(nullptr, 7);
}

TEST(SysHotKeyHostLifetime, WindowDestroyedFromOutsideSwitchesTheListOff) {
    SysHotKeyHost host;
    host.HotKeys().SetActive(true);
    host.HotKeys().AddHotKey(HotKeyTextKey("Ctrl|Alt|#80"), HotKeyTextModifiers("Ctrl|Alt|#80"));
    ASSERT_TRUE(::DestroyWindow(host.Window().Handle()));
    EXPECT_FALSE(host.HotKeys().Active());
    EXPECT_FALSE(host.HotKeys().Entry(0).Registered);
    EXPECT_FALSE(host.Window().HandleAllocated());
    host.HotKeys().SetActive(true);  // a new window takes over
    EXPECT_TRUE(host.HotKeys().Entry(0).Registered);
}

}  // namespace
}  // namespace vimbrel::win32

namespace vimbrel::win32 {
namespace {

std::string failureSeen;
void RecordFailure(HWND, std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        failureSeen = e.what();
    }
}

// A capture that fails inside the hotkey event must reach the program's handler, not vanish.
TEST(SysHotKeyHostFailures, AFailureInTheHotKeyEventReachesTheProgramsHandler) {
    SetWindowFailureHandler(&RecordFailure);
    failureSeen.clear();
    {
        SysHotKeyHost host;
        host.HotKeys().OnHotKey = [](TSysHotKey&, int) { throw std::runtime_error("capture failed"); };
        host.HotKeys().SetActive(true);
        host.HotKeys().AddHotKey(HotKeyTextKey(CtrlAltF(11)), HotKeyTextModifiers(CtrlAltF(11)));
        PressCtrlAlt(VK_F11);
        EXPECT_TRUE(testing::PumpUntil([] { return !failureSeen.empty(); }, 3000));
    }
    SetWindowFailureHandler(nullptr);
    EXPECT_EQ(failureSeen, "capture failed");
}

}  // namespace
}  // namespace vimbrel::win32
