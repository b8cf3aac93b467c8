#pragma once
// TfrmSettings, "Option Settings": what its controls hold, how they are filled from the
// settings, what OK applies and in which order, and the check of the automatic-save folder.
// The window only fills and reads its controls.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/option_flags.h"
#include "settings_ui/hotkey_editor.h"
#include "util/file_system_port.h"

namespace vimbrel {

inline constexpr const char* kSettingsCaption = "Option Settings";
inline constexpr const char* kSettingsPageNames[] = {"Capture Options", "Print Options", "Save Options",
                                                     "Other Options"};
inline constexpr int kSettingsPageCount = 4;
inline constexpr const char* kChooseFolderPrompt = "Choose a folder below:";
inline constexpr const char* kEditorFilter = "Programs (*.exe)|*.exe";
// The dialog opens this far right of and below the main window's top-left corner.
inline constexpr int kSettingsOffsetX = 15;
inline constexpr int kSettingsOffsetY = 25;

// The items of "Cipher:" on "Save Options", each shown as "Cipher" stores it.
inline constexpr FileCipher kCipherChoices[] = {FileCipher::Des, FileCipher::Strong};

// F1 and Help on a page: contexts 410, 420, 430 and 440.
int SettingsHelpContext(int page);

// Every control's value, named after the control.
struct TfrmSettingsValues {
    // "Capture Options"
    bool chkInclMouse = false, chkPopUp = false, chkWatchClips = false, chkClipCopy = false;
    // The pending hotkey texts (full screen, active window, area) and whether any changed.
    std::array<std::string, 3> hotKeys;
    bool hotKeysChanged = false;
    // "Print Options"
    bool rbPrtFull = true, rbPrtZoom = false, rbPrtBest = false;
    bool chkAutoOrient = false, chkAutoPrint = false, chkNotes = false, chkPrtDate = false, chkEject = false;
    bool chkDosPrint = false;
    bool rbSystem = true;  // else rbArial
    // "Save Options"
    bool chkAutoSave = false;
    std::string txtSavePath;
    int cboExt = 0;  // item of AutoExtChoices()
    std::string txtSavePrefix, txtNextSaveNo;
    int cboCipher = 0;  // item of kCipherChoices
    // "Other Options"
    std::string txtImgEdit;
    bool chkAutoSend = false;
    bool chkUseOutlook = false;
    bool outlookInstalled = false;  // chkUseOutlook is enabled only then
    bool chkStartWithWindows = false;
};

// What the dialog is filled from besides the settings: the menu checks and the system.
struct SettingsOpening {
    bool autoPrintChecked = false;  // mnuAutoPrint
    bool autoSaveChecked = false;   // mnuAutoSave
    bool outlookInstalled = false;
};

TfrmSettingsValues FillSettingsDialog(const OptionFlags& flags, const SettingsOpening& opening);

// btnResetClick: the three default hotkeys, marked as changed.
void ResetHotKeys(TfrmSettingsValues& values);

// One thing OK does. A setting is named as the registry names it and carries the value in
// its stored form.
struct SettingsChange {
    enum class Kind {
        Set,                  // name, value
        EnableEditorCommand,  // value "1" or "0": mnuEditor and popSendToEditor
        RunAutoSaveClick,     // auto save flips through its menu handler
        RunAutoPrintClick,
        UnregisterHotKeys,
        RegisterHotKeys,
        WriteHotKeys,         // the three hotkey texts go to the registry at once
        SetStartWithWindows,  // value "1" or "0": the program's value under the user's Run key
        SaveSettings,
    };
    Kind kind = Kind::Set;
    std::string name, value;
    bool operator==(const SettingsChange&) const = default;
};

// What OK applies, in order, given the settings and menu checks as they were.
std::vector<SettingsChange> PlanSettingsApply(const OptionFlags& flags, const SettingsOpening& opening,
                                              const TfrmSettingsValues& values, const FileQueries& files);

// Puts one Set change (name and stored form) into the settings. False for a name that the
// dialog does not set.
bool ApplySettingChange(OptionFlags& flags, const std::string& name, const std::string& value);

// Creates the folders of Path that are missing, from the drive or share down; false when the
// path is too short to have a root or a folder cannot be made.
bool CreateFolderChain(const std::string& path, FileSystemPort& files);

// The questions of the automatic-save folder check, owned by the dialog.
class SaveFolderQuestions {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~SaveFolderQuestions() = default;
    // Information icon, Yes, No and Cancel, caption "Option Settings".
    virtual Answer AskCreate(const std::string& text) = 0;
    // Warning icon, caption "Option Settings".
    virtual void Warn(const std::string& text) = 0;
};

// BitBtn1Click: true when the dialog closes with OK. Answering No puts the opening folder back
// into savePath.
bool CheckSaveFolder(std::string& savePath, const std::string& openingFolder, FileSystemPort& files,
                     SaveFolderQuestions& questions);

// What the open dialog uses besides its controls.
struct SettingsDialogContext {
    TfrmHKSet& hotKeyEditor;  // made once, lives for the run
    FileSystemPort& files;    // the automatic-save folder check
    std::function<void(int helpContext)> openHelp;
};

// TfrmSettings as a window shows it: modal, beside the main window, on its first page. The
// values on OK (after the folder check let it close), nothing on Cancel.
class SettingsDialogWindow {
public:
    virtual ~SettingsDialogWindow() = default;
    virtual std::optional<TfrmSettingsValues> ShowModal(const TfrmSettingsValues& filled,
                                                        SettingsDialogContext& context) = 0;
};

}  // namespace vimbrel
