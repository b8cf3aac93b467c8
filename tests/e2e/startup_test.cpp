// Start-up, the single instance and its hand-over, hiding and exiting, the log line.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "log_viewer.h"
#include "version.h"
#include "vimbrel_process.h"

namespace e2e {
namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
};

TEST_F(StartupTest, StartsHiddenAndASecondStartRestoresItAndEnds) {
    VimbrelProcess app("restore");
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(::IsWindowVisible(app.MainWindow())) << "the program starts in the notification area";

    char caption[64] = {};
    ::GetWindowTextA(app.MainWindow(), caption, sizeof caption);
    EXPECT_STREQ(caption, "  Vimbrel");
    RECT client;
    ::GetClientRect(app.MainWindow(), &client);
    EXPECT_EQ(client.right, 531);

    auto code = app.RunSecondInstance("");
    ASSERT_TRUE(code.has_value()) << "the second start must end by itself";
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    EXPECT_EQ(TopWindowsOfClass("TfrmCaptureForm").size(), 1u) << "only one instance runs";
    EXPECT_TRUE(app.Running());

    // A lower-case "\a" is not the active-window capture: it only restores.
    ::ShowWindow(app.MainWindow(), SW_HIDE);
    ASSERT_TRUE(app.RunSecondInstance("\\a").has_value());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));

    // A path that names no file only restores too.
    ::ShowWindow(app.MainWindow(), SW_HIDE);
    ASSERT_TRUE(app.RunSecondInstance("C:\\no\\such\\file.bmp").has_value());
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    EXPECT_TRUE(app.Exit());
}

TEST_F(StartupTest, CaptionButtonsHideTheWindowAndTheProgramRunsOn) {
    VimbrelProcess app("hide");
    ASSERT_TRUE(app.Start());
    for (WPARAM command : {WPARAM(SC_CLOSE), WPARAM(SC_MINIMIZE)}) {
        ASSERT_TRUE(app.RunSecondInstance("").has_value());
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
        ::SendMessageA(app.MainWindow(), WM_SYSCOMMAND, command, 0);
        EXPECT_FALSE(::IsWindowVisible(app.MainWindow()));
        EXPECT_TRUE(app.Running());
    }
    EXPECT_TRUE(app.Exit());
}

TEST_F(StartupTest, ExitAsksAndDoNotAskAgainIsRememberedEvenWhenTheAnswerIsNo) {
    VimbrelProcess app("exit");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.PostMenuCommand("E&xit"));
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        question = FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ");
        return question != nullptr;
    }));
    EXPECT_NE(FindChildByText(question, "Are you sure you wish to exit?"), nullptr);
    HWND box = FindChildByText(question, "Do not ask this again");
    HWND no = FindChildByText(question, "&No");
    ASSERT_TRUE(box && no);
    ::SendMessageA(box, BM_CLICK, 0, 0);
    ::SendMessageA(no, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(question); }));
    EXPECT_TRUE(app.Running()) << "No keeps the program running";
    // Written once the question has closed: under load, a moment after its window is gone.
    WaitFor([] { return ReadSetting("CheckClose") == std::optional<std::string>("N"); });
    EXPECT_EQ(ReadSetting("CheckClose"), "N");

    // The next exit asks nothing.
    ASSERT_TRUE(app.PostMenuCommand("E&xit"));
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(StartupTest, ALogViewerReceivesBeginDprFromEveryStart) {
    standins::LogViewer viewer("TKXDataLoggerE2E");
    // The program's ordinary lines (level 0); debug lines (level 1) come between them.
    auto ordinary = [&viewer] {
        std::vector<std::string> lines;
        for (const auto& r : viewer.received)
            if (r.bytes.size() >= 8 && r.bytes[4] == 0) lines.push_back(r.Line());
        return lines;
    };
    VimbrelProcess app("log");
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(WaitFor([&] { return !viewer.received.empty(); }));
    ASSERT_FALSE(viewer.received.empty());
    EXPECT_EQ(viewer.received.front().Line(), "Begin DPR");
    EXPECT_EQ(viewer.received.front().bytes.size(), 264u);
    EXPECT_EQ(viewer.received.front().bytes[0], 1) << "a log record";
    EXPECT_EQ(viewer.received.front().bytes[4], 0) << "at the ordinary level";
    // The start's step trace follows at debug level, once the window is up.
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& r : viewer.received)
            if (r.bytes[4] == 1 && r.Line().rfind("start: ", 0) == 0) return true;
        return false;
    }));

    // The second start sends its own line before it hands over.
    ASSERT_TRUE(app.RunSecondInstance("").has_value());
    EXPECT_TRUE(WaitFor([&] { return ordinary().size() >= 2; }));
    ASSERT_GE(ordinary().size(), 2u);
    EXPECT_EQ(ordinary()[1], "Begin DPR");
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

std::string WorkFolder() {
    char appData[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Vimbrel\\ework\\";
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Leave(const std::string& path) {
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::WriteFile(f, "plain", 5, nullptr, nullptr);
    ::CloseHandle(f);
}

TEST_F(StartupTest, TheAboutBoxShowsTheNameAndVersion) {
    WriteSetting("CheckClose", "N");
    VimbrelProcess app("about");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.PostMenuCommand("&About"));
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ")) != nullptr; }));
    EXPECT_NE(FindChildByText(about, "Vimbrel"), nullptr);
    EXPECT_NE(FindChildByText(about, "Version " VIMBREL_VERSION_TEXT), nullptr);
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }));
    ASSERT_TRUE(app.Exit());
}

TEST_F(StartupTest, TheWorkFolderIsEmptiedAtStartAndAtExit) {
    ::SHCreateDirectoryExA(nullptr, WorkFolder().c_str(), nullptr);
    const std::string leftOver = WorkFolder() + "deciphered.bmp";
    Leave(leftOver);
    WriteSetting("CheckClose", "N");
    VimbrelProcess app("work-folder");
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(Exists(leftOver)) << "a plain file left by an earlier run is removed at start";
    const std::string during = WorkFolder() + "during.jpg";
    Leave(during);
    ASSERT_TRUE(app.Exit());
    EXPECT_FALSE(Exists(during));
    EXPECT_TRUE(Exists(WorkFolder())) << "the folder itself stays";
}

}  // namespace
}  // namespace e2e
