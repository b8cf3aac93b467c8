#include "settings/settings.h"

#include "util/errors.h"
#include "util/text.h"

namespace vimbrel {

namespace {

const char* OnOff(bool on) { return on ? "On" : "Off"; }
const char* YesNo(bool on) { return on ? "Yes" : "No"; }
const char* OneZero(bool on) { return on ? "1" : "0"; }

std::string StoredOr(SettingsStore& store, const char* name, const std::string& fallback) {
    std::string value = store.Read(name);
    return value.empty() ? fallback : value;
}

// An override key wins when it is present and not empty.
std::string OverrideOr(const SettingsContext& c, const char* section, const char* key, const char* name) {
    if (c.overrides) {
        std::string value = c.overrides->Read(section, key);
        if (!value.empty())
            return value;
    }
    return c.store.Read(name);
}

std::string PrintStyleOf(const std::string& text) {
    const std::string upper = AsciiUpperCase(text);
    if (upper == "BEST")
        return "Best";
    if (upper == "ZOOM")
        return "Zoom";
    return "Full";
}

void LoadPrinter(OptionFlags& flags, const SettingsContext& c, LoadedSettings& loaded) {
    const std::vector<std::string> printers = c.printers.PrinterNames();
    loaded.printerInstalled = !printers.empty();
    if (!loaded.printerInstalled)
        return;
    flags.AutoOrient = c.store.Read("AutoOrient") == "On";
    loaded.printingPossible = c.printers.QueryOrientation().has_value();
    if (!loaded.printingPossible) {
        c.commands.SetEnabled(cmd::PrintSetup1, false);
        c.commands.SetEnabled(cmd::btnPrtSetup, false);
        return;
    }
    if (!c.overrides)
        return;
    const std::string name = AsciiUpperCase(c.overrides->Read("Printer", "Name"));
    if (!name.empty())
        if (auto found = FindPrinterByPrefix(printers, name))
            c.printers.SelectPrinter(*found);
    const std::string orientation = AsciiUpperCase(c.overrides->Read("Printer", "Orientation"));
    if (!orientation.empty())
        c.printers.SetOrientation(orientation == "LANDSCAPE" ? PrinterOrientation::Landscape
                                                              : PrinterOrientation::Portrait);
}

void LoadFolders(OptionFlags& flags, const SettingsContext& c) {
    flags.SavePath = c.store.Read("SavePath");
    if (!c.files.FolderExists(flags.SavePath)) {
        flags.SavePath = c.dataFolder + "Images\\";
        if (!c.files.FolderExists(flags.SavePath))
            c.files.CreateFolderPath(flags.SavePath);
    }
    flags.AutoSavePath = c.store.Read("AutoSavePath");
    if (flags.AutoSavePath.empty())
        flags.AutoSavePath = AddBackslash(c.paths.GetPath("%MYPICTURES%"));
    if (!c.files.FolderExists(flags.AutoSavePath))
        flags.AutoSavePath = flags.SavePath;
    flags.OpenPath = c.store.Read("OpenPath");
    if (flags.OpenPath.empty() || !c.files.FolderExists(flags.OpenPath))
        flags.OpenPath = flags.SavePath;
    const std::string next = c.store.Read("NextSaveNo");
    // As stored, never narrowed: a number too large is refused by the save that would use it.
    flags.NextSaveNo = next.empty() ? 1 : LeadingInt(next);
}

}  // namespace

LoadedSettings LoadSettings(OptionFlags& flags, const SettingsContext& c) {
    LoadedSettings loaded;
    CommandStates& commands = c.commands;

    flags.AutoPrint = AsciiUpperCase(OverrideOr(c, "General", "AutoPrint", "AutoPrint")) == "ON";
    commands.SetChecked(cmd::mnuAutoPrint, flags.AutoPrint);
    commands.SetChecked(cmd::popAutoPrint, flags.AutoPrint);
    flags.AutoSave = c.store.Read("AutoSave") == "On";
    commands.SetChecked(cmd::mnuAutoSave, flags.AutoSave);
    commands.SetChecked(cmd::popAutoSave, flags.AutoSave);
    c.view.OptionIndicatorsChanged();

    const bool areaMode = c.store.Read("SaveMode") == "A";
    flags.SaveMode.assign(1, areaMode ? 'A' : 'S');
    c.view.SetCaptureMode(areaMode);
    commands.SetChecked(cmd::mnuSetScreen, true);

    flags.PrintStyle = PrintStyleOf(OverrideOr(c, "Printer", "Width", "PrintStyle"));
    LoadPrinter(flags, c, loaded);

    flags.Eject = c.store.Read("Eject") == "Yes";
    flags.AutoClipCopy = c.store.Read("AutoClipCopy") == "On";
    flags.AutoPrefix = StoredOr(c.store, "AutoPrefix", "Vimbrel");
    flags.AutoEdit = c.store.Read("AutoEdit") == "Yes";

    loaded.outlookInstalled = DetectOutlook(c.system, c.files);
    flags.UseOutlook = loaded.outlookInstalled && c.store.Read("UseOutlook") == "Yes";

    flags.AutoExt = StoredOr(c.store, "AutoExt", ".bmp");
    flags.LastOpenExt = StoredOr(c.store, "LastOpenExt", flags.AutoExt);

    const std::string printDate = c.overrides ? c.overrides->Read("General", "PrintDateTime") : std::string();
    if (!printDate.empty()) {
        flags.PrintDate = AsciiUpperCase(printDate) == "YES";
    } else {
        const std::string stored = c.store.Read("PrintDate");
        flags.PrintDate = stored.empty() || stored == "1";
    }
    flags.PrintNotes = c.store.Read("PrintNotes") == "1";
    const std::string inclMouse = c.store.Read("InclMouse");
    flags.InclMouse = inclMouse.empty() || inclMouse == "1";
    const std::string popUp = c.overrides ? c.overrides->Read("General", "AutoPopup") : std::string();
    flags.PopUp = popUp.empty() ? StoredOr(c.store, "PopUp", "1") == "1" : AsciiUpperCase(popUp) == "ON";
    flags.WatchClips = c.store.Read("WatchClips") == "1";

    LoadFolders(flags, c);

    flags.ImageEditor = c.store.Read("ImageEditor");
    if (flags.ImageEditor.empty())
        flags.ImageEditor = c.system.WindowsFolder() + "\\Pbrush.exe";
    if (!c.files.FileExists(flags.ImageEditor))
        flags.ImageEditor.clear();
    commands.SetEnabled(cmd::popSendToEditor, !flags.ImageEditor.empty());

    flags.DosPrint = EqualsNoCase(c.store.Read("DosPrint"), "Yes");
    flags.DosFont = StoredOr(c.store, "DosFont", "System");
    c.view.CreatePrintTextFont(flags.DosFont);

    flags.Cipher = CipherOfSetting(c.store.Read("Cipher"));

    const std::string work = c.dataFolder + "ework";
    if (!c.files.FolderExists(work))
        c.files.CreateFolderPath(work);
    loaded.workFolder = work + "\\";
    return loaded;
}

void SaveSettings(const OptionFlags& f, SettingsStore& store) {
    store.Write("AutoPrint", OnOff(f.AutoPrint));
    store.Write("AutoSave", OnOff(f.AutoSave));
    store.Write("AutoOrient", OnOff(f.AutoOrient));
    store.Write("AutoClipCopy", OnOff(f.AutoClipCopy));
    store.Write("SaveMode", f.SaveMode == "A" ? "A" : "S");
    store.Write("PrintStyle", f.PrintStyle);
    store.Write("PrintDate", OneZero(f.PrintDate));
    store.Write("PrintNotes", OneZero(f.PrintNotes));
    store.Write("PopUp", OneZero(f.PopUp));
    store.Write("WatchClips", OneZero(f.WatchClips));
    store.Write("InclMouse", OneZero(f.InclMouse));
    store.Write("DosPrint", YesNo(f.DosPrint));
    store.Write("Eject", YesNo(f.Eject));
    store.Write("AutoEdit", YesNo(f.AutoEdit));
    store.Write("UseOutlook", YesNo(f.UseOutlook));
    store.Write("DosFont", f.DosFont);
    store.Write("SavePath", f.SavePath);
    store.Write("OpenPath", f.OpenPath);
    store.Write("AutoPrefix", f.AutoPrefix);
    store.Write("AutoExt", f.AutoExt);
    store.Write("AutoSavePath", f.AutoSavePath);
    store.Write("ImageEditor", f.ImageEditor);
    store.Write("LastOpenExt", f.LastOpenExt);
    store.Write("Cipher", CipherSettingText(f.Cipher));
}

FileCipher CipherOfSetting(const std::string& stored) {
    return EqualsNoCase(stored, "Strong") ? FileCipher::Strong : FileCipher::Des;
}

const char* CipherSettingText(FileCipher cipher) { return cipher == FileCipher::Strong ? "Strong" : "DES"; }

bool UseOverrideFile(const std::string& path, FileSystemPort& files) {
    const auto size = files.FileSize(path);
    if (!size)
        return false;
    if (*size == 0) {
        files.RemoveFile(path);
        return false;
    }
    return true;
}

bool DetectOutlook(SystemQueries& system, FileSystemPort& files) {
    std::string path;
    try {
        path = system.OutlookAppPath();
    } catch (const ERegistryException&) {
        // A damaged registration means no usable Outlook; start-up goes on.
        return false;
    }
    return !path.empty() && files.FileExists(path);
}

std::string ComputeDataFolder(bool isWinNT, const TPBPathList& paths, const std::string& programFolder) {
    if (!isWinNT)
        return programFolder;
    const std::string appData = paths.GetPath("%APPDATA%");
    // Without a known application-data folder a relative name would follow the current
    // folder around; the program's folder is the stable choice.
    if (appData.empty())
        return programFolder;
    return AddBackslash(appData) + "Vimbrel\\";
}

std::optional<std::string> FindPrinterByPrefix(const std::vector<std::string>& names, const std::string& prefix) {
    for (const auto& name : names)
        if (StartsWithNoCase(name, prefix))
            return name;
    return std::nullopt;
}

void LoadHotKeyTexts(OptionFlags& flags, SettingsStore& store) {
    flags.HotKeyFull = StoredOr(store, "HotKeyFull", kDefaultHotKeyFull);
    flags.HotKeyActive = StoredOr(store, "HotKeyActive", kDefaultHotKeyActive);
    flags.HotKeyArea = StoredOr(store, "HotKeyArea", kDefaultHotKeyArea);
}

void WriteHotKeyTexts(const OptionFlags& flags, SettingsStore& store) {
    store.Write("HotKeyFull", flags.HotKeyFull);
    store.Write("HotKeyActive", flags.HotKeyActive);
    store.Write("HotKeyArea", flags.HotKeyArea);
}

void WriteNextSaveNo(std::int64_t next, SettingsStore& store) { store.Write("NextSaveNo", std::to_string(next)); }

std::string ReadMainPosn(SettingsStore& store) { return store.Read("MainPosn"); }

void WriteMainPosn(const std::string& value, SettingsStore& store) { store.Write("MainPosn", value); }

bool ShouldConfirmExit(SettingsStore& store) { return store.Read("CheckClose") != "N"; }

void WriteDoNotConfirmExit(SettingsStore& store) { store.Write("CheckClose", "N"); }

}  // namespace vimbrel
