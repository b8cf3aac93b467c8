// The program's end and its failures: an exit that arrives while a handed-over file is being
// opened, an exit when the settings can no longer be written, and a command-line file that
// cannot be read. In each the program either ends cleanly or runs on; it never hangs on
// with no window.
#include <gtest/gtest.h>

#include "app/hand_over.h"
#include "test_pictures.h"
#include "vimbrel_process.h"
#include "whole_files.h"
#include "workspace/image_file.h"

namespace e2e {
namespace {

constexpr UINT kOpenHandOverFile = UINT(vimbrel::HandOverMessage::OpenHandOverFile);

std::string TempFolder() {
    char path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, path);
    return path;
}


class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
};

TEST_F(LifecycleTest, AnExitArrivingWhileAHandedOverFileOpensEndsTheProgram) {
    WriteSetting("CheckClose", "N");
    VimbrelProcess app("exit-race");
    ASSERT_TRUE(app.Start());
    const std::string picture = app.Folder() + "raced.bmp";
    vimbrel::WriteImageFile(vimbrel::testing::Pattern(16, 12, 24), picture);
    ASSERT_TRUE(vimbrel::testing::WriteText(TempFolder() + "~~vrl01", picture));
    // Both wait in the queue: the exit runs while the open lets pending messages run.
    UINT exitId = FindMenuCommand(app.MainWindow(), "E&xit");
    ASSERT_NE(exitId, 0u);
    ::PostMessageA(app.MainWindow(), kOpenHandOverFile, 0, 0);
    ::PostMessageA(app.MainWindow(), WM_COMMAND, MAKEWPARAM(exitId, 0), 0);
    EXPECT_TRUE(app.WaitForExit()) << "the program must not live on without its window";

    // Nothing is left holding the single-instance mutex: the next start is a first instance.
    VimbrelProcess next("exit-race-after");
    ASSERT_TRUE(next.Start());
    EXPECT_TRUE(next.Exit());
}

TEST_F(LifecycleTest, ExitEndsTheProgramWhenTheSettingsCanNoLongerBeWritten) {
    VimbrelProcess app("exit-no-registry");
    ASSERT_TRUE(app.Start());
    // Deleting the key under the running program makes every write through its open key fail.
    HKEY stale = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &stale), ERROR_SUCCESS);
    ASSERT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey), ERROR_SUCCESS);
    ASSERT_NE(::RegSetValueExA(stale, "Probe", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2), ERROR_SUCCESS)
        << "a write through a key opened before the delete fails";
    ::RegCloseKey(stale);

    EXPECT_TRUE(app.Exit()) << "saving the settings fails, and the program ends all the same";
    EXPECT_FALSE(FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ")) << "registry failures are silent";
}

TEST_F(LifecycleTest, AFileOnTheCommandLineThatCannotBeReadIsReportedAndTheProgramRunsOn) {
    WriteSetting("CheckClose", "N");
    VimbrelProcess app("locked-file");
    const std::string picture = app.Folder() + "locked.bmp";
    vimbrel::WriteImageFile(vimbrel::testing::Pattern(16, 12, 24), picture);
    HANDLE lock = ::CreateFileA(picture.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    ASSERT_TRUE(app.Start("\"" + picture + "\""));
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ")) != nullptr; }));
    ::CloseHandle(lock);
    if (box) {
        EXPECT_NE(FindChildByText(box, "Cannot open file " + picture), nullptr);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    }
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }, 2s));
    EXPECT_TRUE(app.Running()) << "the program runs on after the message";
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
