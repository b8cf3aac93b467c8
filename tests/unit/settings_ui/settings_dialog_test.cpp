// The settings dialog's rules: filling, what OK applies in which order, the folder chain and
// the check of the automatic-save folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "settings_ui/settings_dialog.h"

namespace vimbrel {
namespace {

using Kind = SettingsChange::Kind;

// Folders and files by name; every folder made is recorded, and some cannot be made.
struct FakeFolders : FileSystemPort {
    std::set<std::string> folders, files, refused;
    std::vector<std::string> created;
    bool FileExists(const std::string& path) const override { return files.count(path) != 0; }
    bool FolderExists(const std::string& path) const override {
        std::string p = path;
        if (!p.empty() && p.back() != '\\') p += '\\';
        return folders.count(p) != 0;
    }
    std::optional<std::uint64_t> FileSize(const std::string&) const override { return std::nullopt; }
    bool CreateFolderPath(const std::string& path) override {
        if (refused.count(path)) return false;
        created.push_back(path);
        folders.insert(path);
        return true;
    }
    bool RemoveFile(const std::string&) override { return false; }
};

struct ScriptedQuestions : SaveFolderQuestions {
    Answer answer = Answer::Yes;
    std::vector<std::string> asked, warned;
    Answer AskCreate(const std::string& text) override {
        asked.push_back(text);
        return answer;
    }
    void Warn(const std::string& text) override { warned.push_back(text); }
};

SettingsChange Set(const char* name, const char* value) { return {Kind::Set, name, value}; }

TEST(SettingsDialogFill, EveryControlShowsItsSettingAndTheMenuChecks) {
    OptionFlags f;
    f.PrintStyle = "Zoom";
    f.AutoExt = ".jpg";
    f.DosFont = "Arial";
    f.NextSaveNo = 42;
    f.AutoSavePath = "C:\\Shots\\";
    f.HotKeyArea = "Ctrl|#80";
    f.Eject = true;
    const auto v = FillSettingsDialog(f, {.autoPrintChecked = true, .autoSaveChecked = false, .outlookInstalled = true});
    EXPECT_TRUE(v.rbPrtZoom);
    EXPECT_FALSE(v.rbPrtFull || v.rbPrtBest);
    EXPECT_EQ(v.cboExt, 1);
    EXPECT_FALSE(v.rbSystem);
    EXPECT_EQ(v.txtNextSaveNo, "42");
    EXPECT_EQ(v.txtSavePath, "C:\\Shots\\");
    EXPECT_TRUE(v.chkAutoPrint);
    EXPECT_FALSE(v.chkAutoSave);
    EXPECT_TRUE(v.chkEject);
    EXPECT_TRUE(v.chkInclMouse);  // the defaults: mouse cursor, pop-up and date on
    EXPECT_TRUE(v.chkPopUp);
    EXPECT_TRUE(v.chkPrtDate);
    EXPECT_TRUE(v.outlookInstalled);
    EXPECT_EQ(v.hotKeys[2], "Ctrl|#80");
    EXPECT_FALSE(v.hotKeysChanged);
    // Only exactly ".bmp" selects the first item, and exactly ".png" the third.
    f.AutoExt = ".BMP";
    EXPECT_EQ(FillSettingsDialog(f, {}).cboExt, 1);
    f.AutoExt = ".bmp";
    EXPECT_EQ(FillSettingsDialog(f, {}).cboExt, 0);
    f.AutoExt = ".png";
    EXPECT_EQ(FillSettingsDialog(f, {}).cboExt, 2);
}

TEST(SettingsDialogApply, AnAutomaticSaveAsPngSurvivesOk) {
    OptionFlags f;
    f.AutoExt = ".png";
    FakeFolders disk;
    const auto plan = PlanSettingsApply(f, {}, FillSettingsDialog(f, {}), disk);
    EXPECT_NE(std::find(plan.begin(), plan.end(), Set("AutoExt", ".png")), plan.end());
}

TEST(SettingsDialogApply, OkWithoutChangesAppliesEveryValueInOrderAndTouchesNoHotKey) {
    OptionFlags f;
    f.AutoSavePath = "C:\\Shots\\";
    FakeFolders disk;
    const SettingsOpening opening{};
    const auto plan = PlanSettingsApply(f, opening, FillSettingsDialog(f, opening), disk);
    const std::vector<SettingsChange> expected = {
        Set("PrintStyle", "Full"),   Set("PrintDate", "1"),     Set("PrintNotes", "0"),   Set("InclMouse", "1"),
        Set("WatchClips", "0"),      Set("AutoEdit", "No"),     Set("UseOutlook", "No"),  Set("AutoOrient", "Off"),
        Set("AutoClipCopy", "Off"),  Set("PopUp", "1"),         Set("Eject", "No"),
        Set("AutoSavePath", "C:\\Shots\\"),
        {Kind::EnableEditorCommand, "", "0"},
        Set("DosPrint", "No"),       Set("DosFont", "System"),  Set("AutoPrefix", "Vimbrel"),
        Set("NextSaveNo", "1"),      Set("AutoExt", ".bmp"),    Set("Cipher", "DES"),
        {Kind::SaveSettings, "", ""},
    };
    EXPECT_EQ(plan, expected);
}

TEST(SettingsDialogApply, ChangedValuesTakeTheirStoredFormsAndTheHotKeysAreReplacedLast) {
    OptionFlags f;
    FakeFolders disk;
    disk.files = {"C:\\Tools\\paint.exe"};
    const SettingsOpening opening{.autoPrintChecked = true, .autoSaveChecked = false};
    auto v = FillSettingsDialog(f, opening);
    v.rbPrtFull = false;
    v.rbPrtBest = true;
    v.chkEject = v.chkClipCopy = v.chkAutoSend = true;
    v.chkPrtDate = false;
    v.txtSavePath = "D:\\Pictures";  // the backslash is added
    v.txtImgEdit = "C:\\Tools\\paint.exe";
    v.chkDosPrint = true;
    v.rbSystem = false;
    v.txtSavePrefix = "";
    v.txtNextSaveNo = "12abc";
    v.cboExt = 1;
    v.cboCipher = 1;
    v.chkAutoSave = true;    // differs from the menu: its handler runs
    v.chkAutoPrint = false;  // likewise
    ResetHotKeys(v);
    const auto plan = PlanSettingsApply(f, opening, v, disk);

    auto at = [&](const SettingsChange& c) { return std::find(plan.begin(), plan.end(), c) - plan.begin(); };
    EXPECT_EQ(plan.front(), Set("PrintStyle", "Best"));
    for (const auto& c : {Set("Eject", "Yes"), Set("AutoClipCopy", "On"), Set("AutoEdit", "Yes"),
                          Set("PrintDate", "0"), Set("AutoSavePath", "D:\\Pictures\\"),
                          Set("ImageEditor", "C:\\Tools\\paint.exe"), Set("DosPrint", "Yes"),
                          Set("DosFont", "Arial"), Set("AutoPrefix", ""), Set("NextSaveNo", "12"),
                          Set("AutoExt", ".jpg")})
        EXPECT_LT(at(c), std::ptrdiff_t(plan.size())) << c.name << " " << c.value;
    // The editor is taken before its command is enabled by it.
    EXPECT_EQ(at({Kind::EnableEditorCommand, "", "1"}), at(Set("ImageEditor", "C:\\Tools\\paint.exe")) + 1);
    const std::vector<SettingsChange> tail(plan.end() - 11, plan.end());
    const std::vector<SettingsChange> expectedTail = {
        Set("AutoExt", ".jpg"),
        Set("Cipher", "Strong"),
        {Kind::RunAutoSaveClick, "", ""},
        {Kind::RunAutoPrintClick, "", ""},
        {Kind::UnregisterHotKeys, "", ""},
        Set("HotKeyFull", "#15"),
        Set("HotKeyActive", "Alt|#15"),
        Set("HotKeyArea", "Win|#15"),
        {Kind::RegisterHotKeys, "", ""},
        {Kind::WriteHotKeys, "", ""},
        {Kind::SaveSettings, "", ""},
    };
    EXPECT_EQ(tail, expectedTail);
}

TEST(SettingsDialogApply, AnEditorThatIsNoFileIsNotTakenAndTheOldOneDecides) {
    OptionFlags f;
    f.ImageEditor = "C:\\old.exe";
    FakeFolders disk;
    disk.files = {"C:\\old.exe"};
    auto v = FillSettingsDialog(f, {});
    v.txtImgEdit = "C:\\typo.exe";
    const auto plan = PlanSettingsApply(f, {}, v, disk);
    for (const auto& c : plan) EXPECT_NE(c.name, "ImageEditor");
    EXPECT_NE(std::find(plan.begin(), plan.end(), SettingsChange{Kind::EnableEditorCommand, "", "1"}), plan.end());
}

TEST(SettingsDialogApply, EachSetChangeLandsInItsFieldFromItsStoredForm) {
    OptionFlags f;
    EXPECT_TRUE(ApplySettingChange(f, "Eject", "Yes"));
    EXPECT_TRUE(f.Eject);
    EXPECT_TRUE(ApplySettingChange(f, "PopUp", "0"));
    EXPECT_FALSE(f.PopUp);
    EXPECT_TRUE(ApplySettingChange(f, "AutoOrient", "On"));
    EXPECT_TRUE(f.AutoOrient);
    EXPECT_TRUE(ApplySettingChange(f, "DosPrint", "Yes"));
    EXPECT_TRUE(f.DosPrint);
    EXPECT_TRUE(ApplySettingChange(f, "NextSaveNo", "77"));
    EXPECT_EQ(f.NextSaveNo, 77);
    EXPECT_TRUE(ApplySettingChange(f, "Cipher", "Strong"));
    EXPECT_EQ(f.Cipher, FileCipher::Strong);
    EXPECT_EQ(FillSettingsDialog(f, {}).cboCipher, 1);
    EXPECT_TRUE(ApplySettingChange(f, "HotKeyArea", "Ctrl|#80"));
    EXPECT_EQ(f.HotKeyArea, "Ctrl|#80");
    EXPECT_FALSE(ApplySettingChange(f, "SaveMode", "A")) << "not the dialog's setting";
    EXPECT_EQ(f.SaveMode, "S");
}

TEST(CreateFolderChain, ADrivePathCreatesEachMissingFolderInOrder) {
    FakeFolders disk;
    disk.folders = {"C:\\"};
    EXPECT_TRUE(CreateFolderChain("C:\\Shots\\2004\\May", disk));
    EXPECT_EQ(disk.created, (std::vector<std::string>{"C:\\Shots\\", "C:\\Shots\\2004\\", "C:\\Shots\\2004\\May\\"}));
    // Existing folders are passed over.
    disk.created.clear();
    EXPECT_TRUE(CreateFolderChain("C:\\Shots\\2005\\", disk));
    EXPECT_EQ(disk.created, std::vector<std::string>{"C:\\Shots\\2005\\"});
}

TEST(CreateFolderChain, ANetworkPathStartsBelowTheShare) {
    FakeFolders disk;
    EXPECT_TRUE(CreateFolderChain("\\\\server\\share\\new", disk));
    EXPECT_EQ(disk.created, std::vector<std::string>{"\\\\server\\share\\new\\"});
    disk.created.clear();
    EXPECT_TRUE(CreateFolderChain("\\\\server\\share", disk)) << "nothing to create";
    EXPECT_TRUE(disk.created.empty());
}

TEST(CreateFolderChain, TooShortPathsAndRefusedFoldersGiveFalse) {
    FakeFolders disk;
    EXPECT_FALSE(CreateFolderChain("", disk));
    EXPECT_FALSE(CreateFolderChain("\\\\server", disk));
    EXPECT_FALSE(CreateFolderChain("\\\\", disk));
    disk.refused = {"Q:\\a\\"};
    EXPECT_FALSE(CreateFolderChain("Q:\\a\\b", disk));
    EXPECT_TRUE(disk.created.empty()) << "nothing below a folder that could not be made";
}

TEST(SaveFolderCheck, TheOpeningFolderAndExistingFoldersCloseWithoutAQuestion) {
    FakeFolders disk;
    disk.folders = {"C:\\Here\\"};
    ScriptedQuestions q;
    std::string p = "C:\\Gone\\";
    EXPECT_TRUE(CheckSaveFolder(p, "C:\\Gone\\", disk, q));
    p = "C:\\Here";
    EXPECT_TRUE(CheckSaveFolder(p, "C:\\Gone\\", disk, q));
    EXPECT_TRUE(q.asked.empty());
}

TEST(SaveFolderCheck, YesCreatesNoRestoresCancelStays) {
    FakeFolders disk;
    disk.folders = {"C:\\"};
    ScriptedQuestions q;
    std::string p = "C:\\Shots\\2004\\May";
    EXPECT_TRUE(CheckSaveFolder(p, "C:\\Old\\", disk, q));
    ASSERT_EQ(q.asked.size(), 1u);
    EXPECT_EQ(q.asked[0], "Auto Save Folder - C:\\Shots\\2004\\May  Does not exist -- Create it?");
    EXPECT_EQ(disk.created.size(), 3u);

    q.answer = SaveFolderQuestions::Answer::No;
    p = "C:\\Other";
    EXPECT_TRUE(CheckSaveFolder(p, "C:\\Old\\", disk, q));
    EXPECT_EQ(p, "C:\\Old\\");

    q.answer = SaveFolderQuestions::Answer::Cancel;
    p = "C:\\Other";
    EXPECT_FALSE(CheckSaveFolder(p, "C:\\Old\\", disk, q));
    EXPECT_EQ(p, "C:\\Other");
    EXPECT_TRUE(q.warned.empty());
}

TEST(SaveFolderCheck, AFolderThatCannotBeMadeOrAPathWithNoFolderIsReportedAndTheDialogStays) {
    FakeFolders disk;
    disk.refused = {"X:\\"};
    ScriptedQuestions q;
    std::string p = "\\\\server";
    EXPECT_FALSE(CheckSaveFolder(p, "C:\\Old\\", disk, q));
    // A bare name has nothing the chain would create, yet names no folder.
    p = "Shots";
    EXPECT_FALSE(CheckSaveFolder(p, "C:\\Old\\", disk, q));
    EXPECT_EQ(q.warned, (std::vector<std::string>{"\\\\server - is not a valid path", "Shots - is not a valid path"}));
}

TEST(SettingsHelp, EachPageHasItsContext) {
    EXPECT_EQ(SettingsHelpContext(0), 410);
    EXPECT_EQ(SettingsHelpContext(3), 440);
}

}  // namespace
}  // namespace vimbrel
