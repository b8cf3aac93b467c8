// The program's message boxes and the messages other programs send it: a capture that fails
// at start is reported and the program runs on, no capture starts under a message box, a
// second start never waits for the user, and made-up messages crash nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "vimbrel_process.h"

#include <commctrl.h>

namespace e2e {
namespace {

constexpr const char* kTitle = "  Vimbrel   ";

std::string TempFolder() {
    char path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, path);
    return path;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A visible area overlay of the process: an area capture has started.
bool OverlayShown(DWORD processId) {
    HWND overlay = FindProcessWindow(processId, "TfrmCapArea", "frmCapArea");
    return overlay && ::IsWindowVisible(overlay);
}

HWND WaitForBox(DWORD processId, const std::string& text) {
    HWND box = nullptr;
    WaitFor([&] {
        box = FindProcessWindow(processId, "#32770", kTitle);
        return box && FindChildByText(box, text);
    });
    if (box && FindChildByText(box, text)) return box;
    for (HWND w : TopWindowsOfClass("#32770", processId))
        ::EnumChildWindows(w, [](HWND c, LPARAM) -> BOOL {
            std::fprintf(stderr, "the box says: %s\n", WindowText(c).c_str());
            return TRUE;
        }, 0);
    return nullptr;
}

void Answer(HWND box) {
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
}

// Lets the program see what was pressed; nothing it should do may come of it.
void Settle() { WaitFor([] { return false; }, 1500ms); }

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
        WriteSetting("PopUp", "0");
        WriteSetting("InclMouse", "0");
        WriteSetting("AutoPrefix", "Shot");
        WriteSetting("AutoExt", ".bmp");
    }
};

TEST_F(MessagesTest, ACaptureThatCannotBeSavedAtStartIsReportedNoHotKeyWorksUnderTheBoxAndTheProgramRunsOn) {
    VimbrelProcess app("start-save-fails");
    // The numbered name leads into a folder that is not there: the save cannot be made.
    const std::string folder = app.Folder().substr(0, app.Folder().size() - 1);
    WriteSetting("AutoSave", "On");
    WriteSetting("AutoSavePath", folder);
    WriteSetting("AutoPrefix", "gone\\Shot");
    ASSERT_TRUE(app.Start("\\F"));

    HWND box = WaitForBox(app.ProcessId(), "Cannot create file " + folder + "\\gone\\Shot-00001.bmp");
    ASSERT_NE(box, nullptr) << "the failed save is reported";
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    Settle();
    EXPECT_FALSE(OverlayShown(app.ProcessId())) << "no area capture starts under the message";
    ASSERT_TRUE(app.Running());
    Answer(box);
    Settle();
    ASSERT_TRUE(app.Running()) << "the program runs on in the tray";
    EXPECT_FALSE(ReadSetting("AutoPrint").has_value()) << "settings are written at exit, not before";

    ASSERT_TRUE(app.Exit());
    EXPECT_EQ(ReadSetting("AutoPrint"), "Off") << "the exit writes the settings";
    EXPECT_EQ(ReadSetting("AutoSavePath"), folder);
}

TEST_F(MessagesTest, ASecondStartWithADamagedPictureEndsAtOnceAndNoCaptureStartsUnderTheMessage) {
    VimbrelProcess app("hand-over-box");
    const std::string folder = app.Folder().substr(0, app.Folder().size() - 1);
    WriteSetting("AutoSave", "On");
    WriteSetting("AutoSavePath", folder);
    const std::string bad = app.Folder() + "bad.bmp";
    std::ofstream(bad, std::ios::binary) << "BM\x10\x00\x00\x00 certainly not a bitmap";
    ASSERT_TRUE(app.Start());

    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(app.RunSecondInstance("\"" + bad + "\"", 3s).has_value()) << "the second start must end by itself";
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s) << "and must not wait for the user";
    HWND box = WaitForBox(app.ProcessId(), "Unable to read or decrypt the image");
    ASSERT_NE(box, nullptr) << "the first instance still shows its message";

    PressKeys({VK_SNAPSHOT});
    Settle();
    EXPECT_FALSE(Exists(app.Folder() + "Shot-00001.bmp")) << "no capture under the message";
    Answer(box);

    // The hotkeys are back once the message is answered.
    PressKeys({VK_SNAPSHOT});
    EXPECT_TRUE(WaitFor([&] { return Exists(app.Folder() + "Shot-00001.bmp"); }));
    ASSERT_TRUE(app.Exit());
}

// The windows of the program's own classes (registered by its module and not the system's),
// top-level and message-only, children included. The system's controls and the windows
// of system libraries are left out: their messages carry pointers in any program.
std::vector<HWND> OwnWindows(HWND main) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    struct Search {
        DWORD processId = 0;
        ULONG_PTR module = 0;
        std::vector<HWND> found;
        bool Own(HWND w) const { return ::GetClassLongPtrA(w, GCLP_HMODULE) == module && !SystemClass(w); }
        static bool SystemClass(HWND w) {
            char name[256] = {};
            ::GetClassNameA(w, name, sizeof name);
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            return ::GetClassInfoExA(nullptr, name, &wc) != FALSE;
        }
        void Consider(HWND w) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid != processId || !Own(w)) return;
            found.push_back(w);
            ::EnumChildWindows(w, [](HWND c, LPARAM lp) -> BOOL {
                auto* self = reinterpret_cast<Search*>(lp);
                if (self->Own(c)) self->found.push_back(c);
                return TRUE;
            }, LPARAM(this));
        }
    } search;
    ::GetWindowThreadProcessId(main, &search.processId);
    search.module = ::GetClassLongPtrA(main, GCLP_HMODULE);
    ::EnumWindows([](HWND w, LPARAM lp) -> BOOL {
        reinterpret_cast<Search*>(lp)->Consider(w);
        return TRUE;
    }, LPARAM(&search));
    for (HWND w = nullptr; (w = ::FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) search.Consider(w);
    return search.found;
}

// Handles a message at once: not stopped in a crash report or hung.
bool Responds(HWND window) {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored) != 0;
}

TEST_F(MessagesTest, MadeUpMessagesFromAnotherProgramCrashNothing) {
    VimbrelProcess app("made-up-messages");
    // The hand-over message among them then finds no file to open.
    std::ofstream(TempFolder() + "~~vrl01") << app.Folder() + "no-such-picture.bmp";
    ASSERT_TRUE(app.Start());
    const std::vector<HWND> windows = OwnWindows(app.MainWindow());
    ASSERT_GE(windows.size(), 3u) << "the main window, the hidden component windows, the image box";

    std::vector<UINT> messages;
    for (const char* name : {"VimbrelTimerPoolTick", "TAnimatedTrayIconCallBackMsg", "TaskbarCreated"})
        messages.push_back(::RegisterWindowMessageA(name));
    for (UINT m = WM_USER; m <= WM_USER + 8; ++m) messages.push_back(m);
    for (UINT m = WM_APP; m <= WM_APP + 8; ++m) messages.push_back(m);
    // Not a mouse message in the low word, so the tray icon opens no menu.
    const std::pair<WPARAM, LPARAM> values[] = {{0, LPARAM(0xDEADBEEF0BADF00D)}, {1, 0x7A5A1234}, {0x41424344, 1}};
    for (HWND w : windows)
        for (UINT m : messages)
            for (auto [wp, lp] : values) ::PostMessageA(w, m, wp, lp);
    // Sent as well: the timing thread's own hand-over is a sent message.
    DWORD_PTR ignored = 0;
    for (HWND w : windows)
        for (auto [wp, lp] : values)
            ::SendMessageTimeoutA(w, messages.front(), wp, lp, SMTO_ABORTIFHUNG, 2000, &ignored);
    Settle();
    ASSERT_TRUE(app.Running() && Responds(app.MainWindow())) << "made-up messages must not crash the program";

    // It still works: a second start brings it up, and it ends through its exit.
    ::ShowWindow(app.MainWindow(), SW_HIDE);
    ASSERT_TRUE(app.RunSecondInstance("").has_value());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
