#include "settings_ui/settings_dialog.h"

#include <algorithm>
#include <iterator>

#include "util/text.h"
#include "workspace/file_kinds.h"

namespace vimbrel {
namespace {

// The check boxes that OK copies into on/off settings, in the order it copies them, with
// each setting's stored pair.
struct BoolOption {
    const char* name;
    bool OptionFlags::*flag;
    bool TfrmSettingsValues::*control;
    const char* on;
    const char* off;
};
constexpr BoolOption kBoolOptions[] = {
    {"PrintDate", &OptionFlags::PrintDate, &TfrmSettingsValues::chkPrtDate, "1", "0"},
    {"PrintNotes", &OptionFlags::PrintNotes, &TfrmSettingsValues::chkNotes, "1", "0"},
    {"InclMouse", &OptionFlags::InclMouse, &TfrmSettingsValues::chkInclMouse, "1", "0"},
    {"WatchClips", &OptionFlags::WatchClips, &TfrmSettingsValues::chkWatchClips, "1", "0"},
    {"AutoEdit", &OptionFlags::AutoEdit, &TfrmSettingsValues::chkAutoSend, "Yes", "No"},
    {"UseOutlook", &OptionFlags::UseOutlook, &TfrmSettingsValues::chkUseOutlook, "Yes", "No"},
    {"AutoOrient", &OptionFlags::AutoOrient, &TfrmSettingsValues::chkAutoOrient, "On", "Off"},
    {"AutoClipCopy", &OptionFlags::AutoClipCopy, &TfrmSettingsValues::chkClipCopy, "On", "Off"},
    {"PopUp", &OptionFlags::PopUp, &TfrmSettingsValues::chkPopUp, "1", "0"},
    {"Eject", &OptionFlags::Eject, &TfrmSettingsValues::chkEject, "Yes", "No"},
};
constexpr BoolOption kDosPrint = {"DosPrint", &OptionFlags::DosPrint, &TfrmSettingsValues::chkDosPrint, "Yes",
                                  "No"};

struct TextOption {
    const char* name;
    std::string OptionFlags::*flag;
};
constexpr TextOption kTextOptions[] = {
    {"PrintStyle", &OptionFlags::PrintStyle}, {"AutoSavePath", &OptionFlags::AutoSavePath},
    {"ImageEditor", &OptionFlags::ImageEditor}, {"DosFont", &OptionFlags::DosFont},
    {"AutoPrefix", &OptionFlags::AutoPrefix},   {"AutoExt", &OptionFlags::AutoExt},
    {"HotKeyFull", &OptionFlags::HotKeyFull},   {"HotKeyActive", &OptionFlags::HotKeyActive},
    {"HotKeyArea", &OptionFlags::HotKeyArea},
};
constexpr const char* kHotKeyNames[] = {"HotKeyFull", "HotKeyActive", "HotKeyArea"};

SettingsChange Set(const char* name, std::string value) {
    return {SettingsChange::Kind::Set, name, std::move(value)};
}
SettingsChange Do(SettingsChange::Kind kind) { return {kind, {}, {}}; }

}  // namespace

int SettingsHelpContext(int page) { return 410 + 10 * page; }

TfrmSettingsValues FillSettingsDialog(const OptionFlags& f, const SettingsOpening& opening) {
    TfrmSettingsValues v;
    for (const BoolOption& option : kBoolOptions) v.*option.control = f.*option.flag;
    v.chkDosPrint = f.DosPrint;
    v.hotKeys = {f.HotKeyFull, f.HotKeyActive, f.HotKeyArea};
    v.rbPrtFull = f.PrintStyle == "Full";
    v.rbPrtZoom = f.PrintStyle == "Zoom";
    v.rbPrtBest = f.PrintStyle == "Best";
    v.chkAutoPrint = opening.autoPrintChecked;
    v.rbSystem = f.DosFont == "System";
    v.chkAutoSave = opening.autoSaveChecked;
    v.txtSavePath = f.AutoSavePath;
    v.cboExt = AutoExtItem(f.AutoExt);
    v.txtSavePrefix = f.AutoPrefix;
    v.txtNextSaveNo = std::to_string(f.NextSaveNo);
    v.cboCipher = int(std::find(std::begin(kCipherChoices), std::end(kCipherChoices), f.Cipher) - kCipherChoices);
    v.txtImgEdit = f.ImageEditor;
    v.outlookInstalled = opening.outlookInstalled;
    v.chkStartWithWindows = f.StartWithWindows;
    return v;
}

void ResetHotKeys(TfrmSettingsValues& values) {
    values.hotKeysChanged = true;
    values.hotKeys = {kDefaultHotKeyFull, kDefaultHotKeyActive, kDefaultHotKeyArea};
}

std::vector<SettingsChange> PlanSettingsApply(const OptionFlags& flags, const SettingsOpening& opening,
                                              const TfrmSettingsValues& v, const FileQueries& files) {
    using Kind = SettingsChange::Kind;
    std::vector<SettingsChange> plan;
    plan.push_back(Set("PrintStyle", v.rbPrtFull ? "Full" : v.rbPrtZoom ? "Zoom" : "Best"));
    for (const BoolOption& option : kBoolOptions)
        plan.push_back(Set(option.name, v.*option.control ? option.on : option.off));
    plan.push_back(Set("AutoSavePath", AddBackslash(v.txtSavePath)));
    std::string editor = flags.ImageEditor;
    if (files.FileExists(v.txtImgEdit)) {
        editor = v.txtImgEdit;
        plan.push_back(Set("ImageEditor", editor));
    }
    plan.push_back({Kind::EnableEditorCommand, {}, files.FileExists(editor) ? "1" : "0"});
    plan.push_back(Set(kDosPrint.name, v.chkDosPrint ? kDosPrint.on : kDosPrint.off));
    plan.push_back(Set("DosFont", v.rbSystem ? "System" : "Arial"));
    plan.push_back(Set("AutoPrefix", v.txtSavePrefix));
    plan.push_back(Set("NextSaveNo", std::to_string(LeadingInt(v.txtNextSaveNo))));
    plan.push_back(Set("AutoExt", AutoExtOfItem(v.cboExt)));
    const bool knownCipher = v.cboCipher >= 0 && v.cboCipher < int(std::size(kCipherChoices));
    plan.push_back(Set("Cipher", CipherSettingText(knownCipher ? kCipherChoices[v.cboCipher] : FileCipher::Des)));
    if (v.chkAutoSave != opening.autoSaveChecked) plan.push_back(Do(Kind::RunAutoSaveClick));
    if (v.chkAutoPrint != opening.autoPrintChecked) plan.push_back(Do(Kind::RunAutoPrintClick));
    if (v.hotKeysChanged) {
        plan.push_back(Do(Kind::UnregisterHotKeys));
        for (std::size_t i = 0; i < v.hotKeys.size(); ++i) plan.push_back(Set(kHotKeyNames[i], v.hotKeys[i]));
        plan.push_back(Do(Kind::RegisterHotKeys));
        plan.push_back(Do(Kind::WriteHotKeys));
    }
    // The Run key is touched only when the user changed the option.
    if (v.chkStartWithWindows != flags.StartWithWindows)
        plan.push_back({Kind::SetStartWithWindows, {}, v.chkStartWithWindows ? "1" : "0"});
    plan.push_back(Do(Kind::SaveSettings));
    return plan;
}

bool ApplySettingChange(OptionFlags& flags, const std::string& name, const std::string& value) {
    for (const BoolOption& option : kBoolOptions)
        if (name == option.name) {
            flags.*option.flag = value == option.on;
            return true;
        }
    if (name == kDosPrint.name) {
        flags.DosPrint = value == kDosPrint.on;
        return true;
    }
    for (const TextOption& option : kTextOptions)
        if (name == option.name) {
            flags.*option.flag = value;
            return true;
        }
    if (name == "Cipher") {
        flags.Cipher = CipherOfSetting(value);
        return true;
    }
    if (name == "NextSaveNo") {
        flags.NextSaveNo = LeadingInt(value);
        return true;
    }
    return false;
}

bool CreateFolderChain(const std::string& path, FileSystemPort& files) {
    const std::string q = AddBackslash(path);
    const int k = CountFields(q, '\\');
    std::string base;
    int first = 0;
    if (q.starts_with("\\\\")) {
        if (k < 5) return false;
        base = "\\\\" + GetField(q, '\\', 3) + "\\" + GetField(q, '\\', 4) + "\\";
        first = 5;
    } else {
        if (k < 2) return false;
        base = GetField(q, '\\', 1) + "\\";
        first = 2;
    }
    for (int i = first; i <= k - 1; ++i) {
        base += GetField(q, '\\', i) + "\\";
        if (!files.FolderExists(base) && !files.CreateFolderPath(base)) return false;
    }
    return true;
}

bool CheckSaveFolder(std::string& savePath, const std::string& openingFolder, FileSystemPort& files,
                     SaveFolderQuestions& questions) {
    if (savePath == openingFolder || files.FolderExists(savePath)) return true;
    switch (questions.AskCreate("Auto Save Folder - " + savePath + "  Does not exist -- Create it?")) {
    case SaveFolderQuestions::Answer::Yes:
        // A path with nothing to create (a bare relative name) is no folder either.
        if (CreateFolderChain(savePath, files) && files.FolderExists(savePath)) return true;
        questions.Warn(savePath + " - is not a valid path");
        return false;
    case SaveFolderQuestions::Answer::No:
        savePath = openingFolder;
        return true;
    case SaveFolderQuestions::Answer::Cancel:
        break;
    }
    return false;
}

}  // namespace vimbrel
