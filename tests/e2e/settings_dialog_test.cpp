// "Option Settings" worked from outside: every setting written on OK, the hotkeys off while
// the dialog is open, Reset, the automatic-save folder question, Cancel, and the notice for a
// capture hotkey another program holds, at start-up and after OK.
#include <gtest/gtest.h>

#include "dialog_layout.h"
#include "vimbrel_process.h"

#include <commctrl.h>

#include "commands/win32/resource_ids.h"

namespace e2e {
namespace {

constexpr UINT kWin = MOD_WIN;

bool FolderExists(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void Check(HWND dialog, int id, bool on) {
    ::SendMessageA(FindDescendantById(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
void Type(HWND dialog, int id, const std::string& text) {
    ::SendMessageA(FindDescendantById(dialog, id), WM_SETTEXT, 0, LPARAM(text.c_str()));
}
void Press(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(FindDescendantById(dialog, id)));
}
bool Closed(HWND window) {
    return WaitFor([&] { return !::IsWindow(window); });
}
// The settings command has ended once the dialog is gone and the hotkeys are back (Print
// Screen is held again): everything OK applies is done by then.
bool CommandDone(HWND settings) {
    return Closed(settings) && WaitFor([] { return !CombinationFree(0, VK_SNAPSHOT); });
}

// A dialog of the program titled `title` that is not `other` (message boxes share the
// settings dialog's caption).
HWND WaitForDialog(const VimbrelProcess& app, const std::string& title, HWND other = nullptr) {
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND w : TopWindowsOfClass("#32770", app.ProcessId()))
            if (w != other && ::IsWindowVisible(w) && WindowText(w) == title) found = w;
        return found != nullptr;
    });
    return found;
}

HWND OpenSettings(VimbrelProcess& app) {
    if (!app.PostMenuCommand("Option S&ettings")) return nullptr;
    return WaitForDialog(app, "Option Settings");
}

// The text of a message box of the program, or of a balloon over a tray icon.
std::string NoticeText(const VimbrelProcess& app) {
    for (HWND box : TopWindowsOfClass("#32770", app.ProcessId()))
        if (HWND text = ::GetDlgItem(box, 0xFFFF)) return WindowText(text);
    for (HWND tip : TopWindowsOfClass("tooltips_class32"))
        if (::IsWindowVisible(tip) && (::GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON)) return WindowText(tip);
    return {};
}

// Edits one hotkey through its "Change..." button: the editor's check boxes and key.
void ChangeHotKey(VimbrelProcess& app, HWND settings, int button, const char* caption, bool ctrl, bool shift,
                  int keyIndex) {
    Press(settings, button);
    HWND editor = WaitForDialog(app, caption);
    ASSERT_NE(editor, nullptr) << caption;
    Check(editor, IDC_HKSET_CTRL, ctrl);
    Check(editor, IDC_HKSET_ALT, false);
    Check(editor, IDC_HKSET_SHIFT, shift);
    Check(editor, IDC_HKSET_WIN, false);
    ::SendMessageA(::GetDlgItem(editor, IDC_HKSET_KEY), CB_SETCURSEL, WPARAM(keyIndex), 0);
    ::PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Closed(editor));
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
        ASSERT_TRUE(CombinationFree(0, VK_SNAPSHOT)) << "another program holds Print Screen already";
    }
};

TEST_F(SettingsDialogTest, OkWritesEverySettingAndTheHotKeysAreOffOnlyWhileTheDialogIsOpen) {
    VimbrelProcess app("settings-ok");
    const std::string shots = app.Folder() + "shots";
    ::CreateDirectoryA(shots.c_str(), nullptr);
    const std::string editor = app.ExePath();  // any existing program will do
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(CombinationFree(0, VK_SNAPSHOT));
    EXPECT_TRUE(CombinationFree(MOD_ALT, VK_SNAPSHOT));
    EXPECT_TRUE(CombinationFree(kWin, VK_SNAPSHOT));
    EXPECT_EQ(WindowText(FindDescendantById(dlg, IDC_SET_HKACTIVE)), "Alt, PrintScreen");

    Check(dlg, IDC_SET_INCLMOUSE, false);
    Check(dlg, IDC_SET_POPUP, false);
    Check(dlg, IDC_SET_WATCHCLIPS, true);
    Check(dlg, IDC_SET_CLIPCOPY, true);
    Check(dlg, IDC_SET_PRTFULL, false);
    Check(dlg, IDC_SET_PRTBEST, true);
    Check(dlg, IDC_SET_AUTOORIENT, true);
    Check(dlg, IDC_SET_NOTES, true);
    Check(dlg, IDC_SET_PRTDATE, false);
    Check(dlg, IDC_SET_EJECT, true);
    Check(dlg, IDC_SET_DOSPRINT, true);
    Check(dlg, IDC_SET_SYSTEM, false);
    Check(dlg, IDC_SET_ARIAL, true);
    Check(dlg, IDC_SET_AUTOSAVE, true);
    Check(dlg, IDC_SET_AUTOSEND, true);
    Type(dlg, IDC_SET_SAVEPATH, shots);
    ::SendMessageA(FindDescendantById(dlg, IDC_SET_EXT), CB_SETCURSEL, 1, 0);
    HWND cipher = FindDescendantById(dlg, IDC_SET_CIPHER);
    EXPECT_EQ(::SendMessageA(cipher, CB_GETCURSEL, 0, 0), 0) << "DES until the user chooses";
    EXPECT_EQ(::SendMessageA(cipher, CB_GETCOUNT, 0, 0), 2);
    ::SendMessageA(cipher, CB_SETCURSEL, 1, 0);
    Type(dlg, IDC_SET_PREFIX, "Shot");
    Type(dlg, IDC_SET_NEXTNO, "42");
    Type(dlg, IDC_SET_IMGEDIT, editor);
    ChangeHotKey(app, dlg, IDC_SET_CHGAREA, "Area Capture Hot Key", true, true, 80);
    EXPECT_EQ(WindowText(FindDescendantById(dlg, IDC_SET_HKAREA)), "Ctrl, Shift, F12");
    EXPECT_TRUE(CombinationFree(MOD_CONTROL | MOD_SHIFT, VK_F12)) << "nothing is registered before OK";

    Press(dlg, IDOK);
    ASSERT_TRUE(CommandDone(dlg));
    const std::pair<const char*, std::string> expected[] = {
        {"InclMouse", "0"},     {"PopUp", "0"},          {"WatchClips", "1"},       {"AutoClipCopy", "On"},
        {"PrintStyle", "Best"}, {"AutoOrient", "On"},    {"PrintNotes", "1"},       {"PrintDate", "0"},
        {"Eject", "Yes"},       {"DosPrint", "Yes"},     {"DosFont", "Arial"},      {"AutoSave", "On"},
        {"AutoEdit", "Yes"},    {"AutoSavePath", shots + "\\"}, {"AutoExt", ".jpg"}, {"AutoPrefix", "Shot"},
        {"ImageEditor", editor}, {"UseOutlook", "No"},   {"AutoPrint", "Off"},      {"HotKeyArea", "Ctrl|Shift|#80"},
        {"HotKeyFull", "#15"},  {"HotKeyActive", "Alt|#15"}, {"Cipher", "Strong"},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(ReadSetting(name), value) << name;
    EXPECT_FALSE(ReadSetting("NextSaveNo").has_value()) << "written by the next numbered save only";
    EXPECT_FALSE(CombinationFree(0, VK_SNAPSHOT)) << "on again after the dialog";
    EXPECT_FALSE(CombinationFree(MOD_ALT, VK_SNAPSHOT));
    EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_SHIFT, VK_F12));
    EXPECT_TRUE(CombinationFree(kWin, VK_SNAPSHOT)) << "the old area key is given back";
    EXPECT_EQ(NoticeText(app), "") << "every new key was registered";
    ASSERT_TRUE(app.Exit());
}

// The program's value under the user's Run key, if there is one.
std::optional<std::string> RunEntry() {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Vimbrel",
                       RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

bool Checked(HWND dialog, int id) {
    return ::SendMessageA(FindDescendantById(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST_F(SettingsDialogTest, StartWithWindowsIsTheProgramsRunValueAddedAndRemovedOnOk) {
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Vimbrel");
    VimbrelProcess app("start-with-windows");
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(Checked(dlg, IDC_SET_STARTWIN));
    EXPECT_EQ(WindowText(FindDescendantById(dlg, IDC_SET_STARTWIN)), "Start with Windows");
    Check(dlg, IDC_SET_STARTWIN, true);
    Press(dlg, IDOK);
    ASSERT_TRUE(CommandDone(dlg));
    // Quoted, and without arguments: the program starts hidden in the tray, as it always does.
    EXPECT_EQ(RunEntry(), "\"" + app.ExePath() + "\"");
    EXPECT_FALSE(ReadSetting("StartWithWindows").has_value()) << "nothing of it in the program's own key";

    dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(Checked(dlg, IDC_SET_STARTWIN));
    Check(dlg, IDC_SET_STARTWIN, false);
    Press(dlg, IDOK);
    ASSERT_TRUE(CommandDone(dlg));
    EXPECT_EQ(RunEntry(), std::nullopt);
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, TheDialogShowsItsButtonsWholeAtTheScreensDensity) {
    VimbrelProcess app("settings-layout");
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    const std::vector<std::string> clipped = ClippedButtons(dlg, int(::GetDpiForSystem()));
    EXPECT_TRUE(clipped.empty()) << ::testing::PrintToString(clipped);
    Press(dlg, IDCANCEL);
    ASSERT_TRUE(CommandDone(dlg));
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, ResetThenOkStoresTheThreeDefaultHotKeys) {
    WriteSetting("HotKeyFull", "Ctrl|#78");
    WriteSetting("HotKeyActive", "Alt|#78");
    WriteSetting("HotKeyArea", "Win|#78");
    VimbrelProcess app("settings-reset");
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    Press(dlg, IDC_SET_RESET);
    EXPECT_TRUE(WaitFor([&] { return WindowText(FindDescendantById(dlg, IDC_SET_HKAREA)) == "Win, PrintScreen"; }));
    Press(dlg, IDOK);
    ASSERT_TRUE(CommandDone(dlg));
    EXPECT_EQ(ReadSetting("HotKeyFull"), "#15");
    EXPECT_EQ(ReadSetting("HotKeyActive"), "Alt|#15");
    EXPECT_EQ(ReadSetting("HotKeyArea"), "Win|#15");
    EXPECT_FALSE(CombinationFree(0, VK_SNAPSHOT));
    EXPECT_TRUE(CombinationFree(MOD_CONTROL, VK_F10));
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, ANewAutoSaveFolderIsCreatedOnYesAndTheOldOneKeptOnNo) {
    VimbrelProcess app("settings-folder");
    const std::string old = app.Folder() + "old\\";
    ::CreateDirectoryA(old.c_str(), nullptr);
    WriteSetting("AutoSavePath", old);
    ASSERT_TRUE(app.Start());

    const std::string fresh = app.Folder() + "Shots\\2004\\May";
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    Type(dlg, IDC_SET_SAVEPATH, fresh);
    Press(dlg, IDOK);
    HWND question = WaitForDialog(app, "Option Settings", dlg);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(question, 0xFFFF)), "Auto Save Folder - " + fresh + "  Does not exist -- Create it?");
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(CommandDone(dlg));
    EXPECT_TRUE(FolderExists(fresh));
    EXPECT_EQ(ReadSetting("AutoSavePath"), fresh + "\\");

    const std::string other = app.Folder() + "other";
    dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    Type(dlg, IDC_SET_SAVEPATH, other);
    Check(dlg, IDC_SET_EJECT, true);
    Press(dlg, IDOK);
    question = WaitForDialog(app, "Option Settings", dlg);
    ASSERT_NE(question, nullptr);
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(CommandDone(dlg));
    EXPECT_FALSE(FolderExists(other));
    EXPECT_EQ(ReadSetting("AutoSavePath"), fresh + "\\") << "the folder shown when the dialog opened";
    EXPECT_EQ(ReadSetting("Eject"), "Yes") << "the other changes are applied";
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, CancelAfterChangingAHotKeyLeavesTheStoreAndTheRegistration) {
    VimbrelProcess app("settings-cancel");
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    ChangeHotKey(app, dlg, IDC_SET_CHGFULL, "Full Screen Capture Hot Key", true, false, 80);
    EXPECT_EQ(WindowText(FindDescendantById(dlg, IDC_SET_HKFULL)), "Ctrl, F12");
    Press(dlg, IDCANCEL);
    ASSERT_TRUE(CommandDone(dlg));
    EXPECT_FALSE(ReadSetting("HotKeyFull").has_value());
    EXPECT_FALSE(ReadSetting("PrintStyle").has_value()) << "nothing is saved on Cancel";
    EXPECT_FALSE(CombinationFree(0, VK_SNAPSHOT));
    EXPECT_TRUE(CombinationFree(MOD_CONTROL, VK_F12));
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, APrintScreenHeldByAnotherProgramAtStartIsNamedOnce) {
    {
        VimbrelProcess app("notice-none");
        ASSERT_TRUE(app.Start());
        // Wine shows a balloon two seconds after it is asked for.
        WaitFor([] { return false; }, 3500ms);
        EXPECT_EQ(NoticeText(app), "");
        ASSERT_TRUE(app.Exit());
    }
    HotKeyHolder holder(0, VK_SNAPSHOT);
    ASSERT_TRUE(holder.Holding());
    VimbrelProcess app("notice-held");
    ASSERT_TRUE(app.Start());
    std::string notice;
    EXPECT_TRUE(WaitFor([&] { return !(notice = NoticeText(app)).empty(); }, 15s));
    EXPECT_EQ(notice.rfind("PrintScreen does not capture", 0), 0u) << notice;
    EXPECT_EQ(notice.find("Alt, PrintScreen"), std::string::npos) << "only the refused key: " << notice;
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, PrintScreenTakenByAnotherProgramWhileTheDialogIsOpenIsNamedWhenItCloses) {
    VimbrelProcess app("notice-taken");
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    HotKeyHolder holder(0, VK_SNAPSHOT);  // free only because the dialog has the keys off
    ASSERT_TRUE(holder.Holding());
    Press(dlg, IDCANCEL);
    ASSERT_TRUE(CommandDone(dlg));
    std::string notice;
    EXPECT_TRUE(WaitFor([&] { return !(notice = NoticeText(app)).empty(); }, 15s));
    EXPECT_EQ(notice.rfind("PrintScreen does not capture", 0), 0u) << notice;
    EXPECT_FALSE(CombinationFree(MOD_ALT, VK_SNAPSHOT)) << "the other keys are held again";
    ASSERT_TRUE(app.Exit());
}

TEST_F(SettingsDialogTest, AChosenHotKeyHeldByAnotherProgramIsNamedAfterOk) {
    HotKeyHolder holder(MOD_CONTROL | MOD_SHIFT, VK_F12);
    ASSERT_TRUE(holder.Holding());
    VimbrelProcess app("notice-ok");
    ASSERT_TRUE(app.Start());
    HWND dlg = OpenSettings(app);
    ASSERT_NE(dlg, nullptr);
    ChangeHotKey(app, dlg, IDC_SET_CHGACTIVE, "Active Screen Capture Hot Key", true, true, 80);
    Press(dlg, IDOK);
    ASSERT_TRUE(CommandDone(dlg));
    EXPECT_EQ(ReadSetting("HotKeyActive"), "Ctrl|Shift|#80") << "stored as chosen";
    std::string notice;
    EXPECT_TRUE(WaitFor([&] { return !(notice = NoticeText(app)).empty(); }, 15s));
    EXPECT_EQ(notice.rfind("Ctrl, Shift, F12 does not capture", 0), 0u) << notice;
    ASSERT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
