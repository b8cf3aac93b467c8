// Settings as the registry and the override file hold them, and the window position.
#include <gtest/gtest.h>

#include <fstream>

#include "log_viewer.h"
#include "settings/win32/ini_file.h"
#include "vimbrel_process.h"

namespace e2e {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");  // exits without the question
    }
};

bool FolderExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(SettingsTest, EverySettingIsWrittenAtExitInItsStoredForm) {
    WriteSetting("AutoPrint", "on");       // any case of "ON" counts ...
    WriteSetting("AutoSave", "ON");        // ... but only "On" switches auto save on
    WriteSetting("PrintStyle", "best");
    WriteSetting("PopUp", "0");
    WriteSetting("NextSaveNo", "12abc");
    WriteDwordSetting("Eject", 1);         // not a string: reads as its default
    VimbrelProcess app("stored-forms");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Exit());

    const std::pair<const char*, const char*> expected[] = {
        {"AutoPrint", "On"},   {"AutoSave", "Off"},     {"AutoClipCopy", "Off"}, {"SaveMode", "S"},
        {"PrintStyle", "Best"}, {"PrintDate", "1"},     {"PrintNotes", "0"},     {"PopUp", "0"},
        {"WatchClips", "0"},   {"InclMouse", "1"},      {"DosPrint", "No"},      {"Eject", "No"},
        {"AutoEdit", "No"},    {"UseOutlook", "No"},    {"DosFont", "System"},   {"AutoPrefix", "Vimbrel"},
        {"AutoExt", ".bmp"},   {"LastOpenExt", ".bmp"}, {"ImageEditor", ""},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(ReadSetting(name), value) << name;
    ASSERT_TRUE(ReadSetting("AutoOrient").has_value());
    EXPECT_EQ(*ReadSetting("AutoOrient"), "Off");

    // The save folder defaults to the data folder's "Images", created on the way.
    auto savePath = ReadSetting("SavePath");
    ASSERT_TRUE(savePath.has_value());
    EXPECT_NE(savePath->find("\\Vimbrel\\Images\\"), std::string::npos) << *savePath;
    EXPECT_TRUE(FolderExists(*savePath)) << *savePath;
    EXPECT_EQ(ReadSetting("OpenPath"), savePath);
    ASSERT_TRUE(ReadSetting("AutoSavePath").has_value());
    EXPECT_FALSE(ReadSetting("AutoSavePath")->empty());
    // Only a numbered save writes the counter.
    EXPECT_EQ(ReadSetting("NextSaveNo"), "12abc");
}

TEST_F(SettingsTest, ALogOffWritesTheSettingsAndEmptiesTheWorkFolderWithoutTheExitQuestion) {
    WriteSetting("CheckClose", "Y");
    WriteSetting("PrintStyle", "best");
    VimbrelProcess app("log-off");
    ASSERT_TRUE(app.Start());
    ::CreateDirectoryA(WorkFolder().c_str(), nullptr);
    const std::string plain = WorkFolder() + "deciphered.bmp";
    std::ofstream(plain) << "plain";
    ASSERT_NE(::GetFileAttributesA(plain.c_str()), INVALID_FILE_ATTRIBUTES);

    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(app.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000,
                                      &answer));
    EXPECT_EQ(answer, DWORD_PTR(TRUE)) << "the program lets the session end";
    ::SendMessageTimeoutA(app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
    EXPECT_EQ(::GetFileAttributesA(plain.c_str()), INVALID_FILE_ATTRIBUTES) << "no plain copy outlives the session";
    EXPECT_EQ(ReadSetting("PrintStyle"), "Best") << "the settings are written";
    EXPECT_TRUE(ReadSetting("MainPosn").has_value()) << "and the window's place";
    EXPECT_FALSE(FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ")) << "no exit question";
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(SettingsTest, AnEmptyOverrideFileIsDeletedAndAFilledOneWins) {
    {
        VimbrelProcess app("override-empty");
        std::ofstream(app.Folder() + "VRCustom.ini").close();
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(::GetFileAttributesA((app.Folder() + "VRCustom.ini").c_str()), INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(app.Exit());
    }
    WriteSetting("AutoPrint", "Off");
    WriteSetting("PopUp", "1");
    WriteSetting("PrintStyle", "Full");
    VimbrelProcess app("override");
    std::ofstream(app.Folder() + "VRCustom.ini")
        << "[General]\r\nAutoPrint=on\r\nAutoPopup=off\r\n[Printer]\r\nWidth=zoom\r\n";
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.Exit());
    EXPECT_EQ(ReadSetting("AutoPrint"), "On");
    EXPECT_EQ(ReadSetting("PopUp"), "0");
    EXPECT_EQ(ReadSetting("PrintStyle"), "Zoom");
    EXPECT_NE(::GetFileAttributesA((app.Folder() + "VRCustom.ini").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the override file is never written or removed";
}

// A folder the program cannot write (an installed or read-only copy): the empty override file
// it cannot remove is named in the log, with no box, and the program runs on.
TEST_F(SettingsTest, AnEmptyOverrideFileThatCannotBeDeletedIsNamedInTheLogOnly) {
    standins::LogViewer viewer("TKXDataLoggerReadOnly");
    VimbrelProcess app("override-read-only");
    const std::string ini = app.Folder() + "VRCustom.ini";
    std::ofstream(ini).close();
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(app.Start());
    const std::string expected = "Cannot delete the empty " + ini + "; it is not used";
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& record : viewer.received)
            if (record.Line() == expected) return true;
        return false;
    })) << expected;
    EXPECT_EQ(FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   "), nullptr) << "no box";
    EXPECT_NE(::GetFileAttributesA(ini.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(app.Exit());
    ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

RECT WindowRectOf(HWND hwnd) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    return r;
}

TEST_F(SettingsTest, StoredPositionIsRestoredAndResizingRecordsIt) {
    WriteSetting("MainPosn", "100,50,400,300");
    VimbrelProcess app("position");
    ASSERT_TRUE(app.Start());
    RECT r = WindowRectOf(app.MainWindow());
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);

    ::SetWindowPos(app.MainWindow(), nullptr, 120, 60, 500, 350, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitFor([] { return ReadSetting("MainPosn") == "120,60,500,350"; }))
        << ReadSetting("MainPosn").value_or("<none>");
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsTest, AnOffScreenPositionIsCentredAtTheDesignedSize) {
    VimbrelProcess first("design-size");
    ASSERT_TRUE(first.Start());
    RECT design = WindowRectOf(first.MainWindow());
    ASSERT_TRUE(first.Exit());

    ClearSettings();
    WriteSetting("CheckClose", "N");
    WriteSetting("MainPosn", "5000,100,400,300");
    VimbrelProcess app("off-screen");
    ASSERT_TRUE(app.Start());
    RECT r = WindowRectOf(app.MainWindow());
    int w = design.right - design.left, h = design.bottom - design.top;
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - w) / 2);
    EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    ASSERT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The override file as the program reads it in its UTF-8 code page (this suite runs in
// it too): lines written in the legacy code page read as what they say, UTF-8 ones as
// they stand, and the UTF-8 copy made for it goes with the reader.
TEST(OverrideFileNames, LegacyLinesReadInTheLegacyCodePage) {
    VimbrelProcess scratch("override-legacy");
    const std::string path = scratch.Folder() + "VRCustom.ini";
    std::ofstream(path, std::ios::binary) << "[Printer]\r\nName=B\xFCro \x80\r\n[General]\r\nAutoPrint=Gr\xC3\xB6\xC3\x9F" "e\r\n";
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "~~vrcustom-" + std::to_string(::GetCurrentProcessId()) + ".ini";
    {
        vimbrel::win32::WinOverrideFile overrides(path);
        EXPECT_EQ(overrides.Read("Printer", "Name"), "B\xC3\xBCro \xE2\x82\xAC");
        EXPECT_EQ(overrides.Read("General", "AutoPrint"), "Gr\xC3\xB6\xC3\x9F" "e");
        EXPECT_NE(::GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "read through its UTF-8 copy";
    }
    EXPECT_EQ(::GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << "the copy is gone with the reader";
}

}  // namespace
}  // namespace e2e
