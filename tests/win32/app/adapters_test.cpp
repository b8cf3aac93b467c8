#include <gtest/gtest.h>

#include <algorithm>
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/logger_record.h"
#include "log_viewer.h"
#include "settings/settings.h"
#include "settings/win32/ini_file.h"
#include "app/win32/logger.h"
#include "print/win32/printers.h"
#include "settings/win32/registry_store.h"
#include "settings/win32/settings_system.h"
#include "desktop/win32/browse_folder.h"
#include "desktop/win32/path_list.h"
#include "util/errors.h"
#include "util/text.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {
namespace {

constexpr const char* kTestKey = "Software\\KRD\\VimbrelAdapterTest";

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() { ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
    ~RegistryTest() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }

    DWORD TypeOf(const char* name) {
        DWORD type = REG_NONE;
        ::RegGetValueA(HKEY_CURRENT_USER, kTestKey, name, RRF_RT_ANY, &type, nullptr, nullptr);
        return type;
    }
};

TEST_F(RegistryTest, StringValuesRoundTrip) {
    WinRegistryStore store(HKEY_CURRENT_USER, kTestKey);
    ASSERT_TRUE(store.IsOpen());
    EXPECT_EQ(store.Read("AutoPrint"), "");
    store.Write("AutoPrint", "On");
    store.Write("SavePath", std::string(300, 'p'));
    store.Write("Empty", "");
    WinRegistryStore again(HKEY_CURRENT_USER, kTestKey);
    EXPECT_EQ(again.Read("AutoPrint"), "On");
    EXPECT_EQ(again.Read("SavePath"), std::string(300, 'p'));
    EXPECT_EQ(again.Read("Empty"), "");
    EXPECT_EQ(TypeOf("AutoPrint"), DWORD(REG_SZ));
}

TEST_F(RegistryTest, AStoreWithoutItsKeyReadsEmptyAndRefusesWrites) {
    WinRegistryStore store(reinterpret_cast<HKEY>(std::uintptr_t(0x1234)), kTestKey);
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(store.Read("AutoPrint"), "");
    EXPECT_THROW(store.Write("AutoPrint", "On"), ERegistryException);
}

struct NoPrinters : PrinterPort {
    std::vector<std::string> PrinterNames() override { return {}; }
    std::optional<PrinterOrientation> QueryOrientation() override { return std::nullopt; }
    void SelectPrinter(const std::string&) override {}
    void SetOrientation(PrinterOrientation) override {}
};

struct QuietView : SettingsView {
    void SetCaptureMode(bool) override {}
    void OptionIndicatorsChanged() override {}
    void CreatePrintTextFont(const std::string&) override {}
};

TEST_F(RegistryTest, ANonStringValueReadsAsItsDefaultAndIsWrittenBackAsAString) {
    {
        WinRegistryStore seed(HKEY_CURRENT_USER, kTestKey);
        seed.Write("AutoSave", "On");
    }
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, &raw), ERROR_SUCCESS);
    UniqueHKey key(raw);
    const DWORD one = 1;
    ::RegSetValueExA(key.get(), "AutoPrint", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    ::RegSetValueExA(key.get(), "PopUp", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    key.reset();
    ASSERT_EQ(TypeOf("AutoPrint"), DWORD(REG_DWORD));

    WinRegistryStore store(HKEY_CURRENT_USER, kTestKey);
    NoPrinters printers;
    WinFileSystem files;
    WinSystemQueries system;
    FolderTable folders;
    TPBPathList paths(folders);
    CommandStates commands;
    QuietView view;
    const std::string data = GetTempFolder() + "vimbrel-settings-test\\";
    OptionFlags flags;
    SettingsContext context{store, nullptr, printers, files, system, paths, commands, view, data};
    LoadedSettings loaded = LoadSettings(flags, context);
    EXPECT_FALSE(flags.AutoPrint);  // the default
    EXPECT_TRUE(flags.PopUp);       // the default
    EXPECT_TRUE(flags.AutoSave);    // read after it: loading went on
    EXPECT_TRUE(FolderExists(loaded.workFolder));
    EXPECT_TRUE(FolderExists(flags.SavePath));

    SaveSettings(flags, store);
    EXPECT_EQ(TypeOf("AutoPrint"), DWORD(REG_SZ));
    EXPECT_EQ(store.Read("AutoPrint"), "Off");
    EXPECT_EQ(store.Read("PopUp"), "1");
    ShellFileOperation(data.substr(0, data.size() - 1), "", FO_DELETE, FOF_SILENT | FOF_NOCONFIRMATION);
}

TEST(WinOverrideFile, ReadsKeysBySection) {
    const std::string path = GetTempFolder() + "VRCustom-test.ini";
    WriteFileText("[General]\r\nAutoPrint=on\r\nAutoPopup=\r\n[Printer]\r\nName=hp\r\nWidth=Best\r\n", path);
    WinOverrideFile file(path);
    EXPECT_EQ(file.Read("General", "AutoPrint"), "on");
    EXPECT_EQ(file.Read("General", "AutoPopup"), "");
    EXPECT_EQ(file.Read("Printer", "Name"), "hp");
    EXPECT_EQ(file.Read("Printer", "Width"), "Best");
    EXPECT_EQ(file.Read("Printer", "Orientation"), "");
    EXPECT_EQ(file.Read("General", "Name"), "");

    WinFileSystem files;
    EXPECT_TRUE(UseOverrideFile(path, files));
    WriteFileText("", path);
    EXPECT_FALSE(UseOverrideFile(path, files));
    EXPECT_FALSE(FileExists(path));
}

TEST(Logger, RecordsReachARunningViewerAndStopWhenItCloses) {
    EXPECT_FALSE(ConnectLogger());
    LogMsg("nobody listens");

    auto viewer = std::make_unique<standins::LogViewer>("TKXDataLoggerTestViewer");
    ASSERT_NE(viewer->Window(), nullptr);
    ASSERT_TRUE(ConnectLogger());
    EXPECT_EQ(LoggerWindow(), viewer->Window());
    LogMsg("Begin DPR");
    LogMsg(std::string(300, 'q'));
    LogMsg("");
    const auto& records = viewer->received;
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].bytes.size(), kLogRecordSize);
        EXPECT_EQ(records[i].tag, 0u);
        EXPECT_EQ(records[i].bytes[0], 1);
    }
    EXPECT_EQ(records[0].bytes[8], 9);
    EXPECT_EQ(records[0].Line(), "Begin DPR");
    EXPECT_EQ(records[1].bytes[8], 255);
    EXPECT_EQ(records[2].bytes[8], 0);

    // The viewer closes: later lines are dropped without a failure.
    viewer.reset();
    LogMsg("after the viewer closed");
}

TEST(SpecialFolders, TheShellAnswersTheTokensTheProgramUses) {
    TPBPathList paths(SharedFolderTable());
    const std::string appData = paths.GetPath("%APPDATA%");
    EXPECT_TRUE(FolderExists(appData)) << appData;
    EXPECT_NE(appData.back(), '\\');
    EXPECT_FALSE(paths.GetPath("%PERSONAL%").empty());
    EXPECT_FALSE(paths.GetPath("%MYPICTURES%").empty());
    EXPECT_EQ(paths.GetPath("%WINDOWS%"), "C:\\Windows");
    paths.PathCase = TPathCase::pcDontCare;
    EXPECT_EQ(AsciiLowerCase(paths.GetPath("%WINDOWS%")), AsciiLowerCase(GetWindowsFolder()));
    EXPECT_EQ(paths.GetPath("%NOSUCH%"), "");
    // The whole table, once asked for, holds what the single folders said.
    const std::vector<std::string>& list = paths.List();
    EXPECT_TRUE(std::any_of(list.begin(), list.end(), [&](const std::string& entry) {
        return EqualsNoCase(entry, "%APPDATA%=" + appData);
    })) << appData;
}

TEST(SpecialFolders, LocaleCaseChangesAccentedLetters) {
    CaseMap ansi = AnsiCaseMap();
    EXPECT_EQ(TitleCasePath("C:\\USERS\\JOS\xc9\\A", ansi), "C:\\Users\\Jos\xe9\\A");
}

TEST(Printers, OrientationIsAskedAndSetOnTheSelectedPrinter) {
    WinPrinters printers;
    const std::vector<std::string> names = printers.PrinterNames();
    if (names.empty())
        GTEST_SKIP() << "no printer installed (run with the test environment's printer)";
    EXPECT_FALSE(printers.SelectedPrinter().empty());
    printers.SelectPrinter(names.back());
    EXPECT_EQ(printers.SelectedPrinter(), names.back());
    ASSERT_TRUE(printers.QueryOrientation().has_value());
    printers.SetOrientation(PrinterOrientation::Landscape);
    EXPECT_EQ(printers.QueryOrientation(), PrinterOrientation::Landscape);
    printers.SetOrientation(PrinterOrientation::Portrait);
    EXPECT_EQ(printers.QueryOrientation(), PrinterOrientation::Portrait);
    printers.SelectPrinter("No Such Printer");
    EXPECT_FALSE(printers.QueryOrientation().has_value());
}

// Answers the folder dialog from another thread once it shows with its prompt, recording
// whether the prompt was there. A fresh Wine prefix may take seconds to bring the shell's
// dialog up, and the dialog exists a moment before its controls do.
struct DialogAnswerer {
    std::atomic<bool> sawPrompt{false};
    std::thread thread;
    explicit DialogAnswerer(WPARAM button) {
        thread = std::thread([this, button] {
            HWND dialog = nullptr;
            for (int i = 0; i < 600 && !sawPrompt; ++i) {
                ::Sleep(50);
                dialog = ::FindWindowA("#32770", nullptr);
                if (dialog && ::IsWindowVisible(dialog)) sawPrompt = HasPrompt(dialog);
            }
            // Answered even without its prompt, so that a failing test ends instead of hanging.
            if (dialog) ::PostMessageA(dialog, WM_COMMAND, button, 0);
        });
    }
    ~DialogAnswerer() { thread.join(); }

    static bool HasPrompt(HWND dialog) {
        bool found = false;
        ::EnumChildWindows(
            dialog,
            [](HWND child, LPARAM param) -> BOOL {
                char text[256] = {};
                ::GetWindowTextA(child, text, sizeof(text));
                if (std::string(text) == "Choose a folder below:") *reinterpret_cast<bool*>(param) = true;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
};

TEST(BrowseForFolder, CancelReturnsFalseAndKeepsNoPath) {
    TBrowseForFolderDialog dialog;
    dialog.SetPrompt("Choose a folder below:");
    bool chosen = true;
    {
        DialogAnswerer answer(IDCANCEL);
        chosen = dialog.Execute();
        EXPECT_TRUE(answer.sawPrompt);
    }
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog.FolderPath(), "");
}

TEST(BrowseForFolder, OkGivesTheChosenFoldersPath) {
    TBrowseForFolderDialog dialog;
    dialog.SetPrompt("Choose a folder below:");
    bool chosen = false;
    {
        DialogAnswerer answer(IDOK);
        chosen = dialog.Execute();
    }
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(FolderExists(dialog.FolderPath())) << dialog.FolderPath();
}

}  // namespace
}  // namespace vimbrel::win32
