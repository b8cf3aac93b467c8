#include "settings/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "util/errors.h"

namespace vimbrel {
namespace {

struct FakeStore : SettingsStore {
    std::map<std::string, std::string> values;
    std::vector<std::string> writeOrder;
    bool failWrites = false;
    std::string Read(const std::string& name) override {
        auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    }
    void Write(const std::string& name, const std::string& value) override {
        if (failWrites)
            throw ERegistryException("Failed to set data for '" + name + "'");
        writeOrder.push_back(name);
        values[name] = value;
    }
};

struct FakeOverride : OverrideFile {
    std::map<std::pair<std::string, std::string>, std::string> keys;
    std::string Read(const std::string& section, const std::string& key) override {
        auto it = keys.find({section, key});
        return it == keys.end() ? std::string() : it->second;
    }
};

struct FakePrinters : PrinterPort {
    std::vector<std::string> names{"Office Laser", "HP DeskJet 500", "hp LaserJet"};
    bool answers = true;
    std::string selected = "Office Laser";
    std::optional<PrinterOrientation> orientation;
    std::vector<std::string> PrinterNames() override { return names; }
    std::optional<PrinterOrientation> QueryOrientation() override {
        return answers ? std::optional(PrinterOrientation::Portrait) : std::nullopt;
    }
    void SelectPrinter(const std::string& name) override { selected = name; }
    void SetOrientation(PrinterOrientation o) override { orientation = o; }
};

struct FakeFiles : FileSystemPort {
    std::set<std::string> folders;
    std::map<std::string, std::uint64_t> files;
    std::vector<std::string> created;
    std::vector<std::string> removed;
    bool FolderExists(const std::string& path) const override { return folders.count(path) > 0; }
    bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
    bool CreateFolderPath(const std::string& path) override {
        created.push_back(path);
        folders.insert(path);
        return true;
    }
    std::optional<std::uint64_t> FileSize(const std::string& path) const override {
        auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    }
    bool RemoveFile(const std::string& path) override {
        removed.push_back(path);
        return files.erase(path) > 0;
    }
};

struct FakeSystem : SystemQueries {
    std::string outlook;
    bool outlookValueBroken = false;
    std::string WindowsFolder() override { return "C:\\Windows"; }
    std::string OutlookAppPath() override {
        if (outlookValueBroken)
            throw ERegistryException("Invalid data type for ''");
        return outlook;
    }
};

struct FakeView : SettingsView {
    std::vector<std::string> calls;
    void SetCaptureMode(bool area) override { calls.push_back(area ? "area" : "screen"); }
    void OptionIndicatorsChanged() override { calls.push_back("indicators"); }
    void CreatePrintTextFont(const std::string& face) override { calls.push_back("font " + face); }
};

class SettingsTest : public ::testing::Test {
protected:
    FakeStore store;
    FakeOverride overrides;
    FakePrinters printers;
    FakeFiles files;
    FakeSystem system;
    FolderTable folders{{"%MYPICTURES%=C:\\Users\\Me\\Pictures", "%PERSONAL%=C:\\Users\\Me\\Documents"}, {}};
    TPBPathList paths{folders};
    CommandStates commands;
    FakeView view;
    OptionFlags flags;
    bool useOverride = false;

    LoadedSettings Load() {
        SettingsContext context{store,    useOverride ? &overrides : nullptr, printers, files, system, paths,
                                commands, view,                               "C:\\Data\\Vimbrel\\"};
        return LoadSettings(flags, context);
    }
};

TEST_F(SettingsTest, NothingStoredGivesTheDefaults) {
    LoadedSettings loaded = Load();
    EXPECT_FALSE(flags.AutoPrint);
    EXPECT_FALSE(flags.AutoSave);
    EXPECT_EQ(flags.SaveMode, "S");
    EXPECT_EQ(flags.PrintStyle, "Full");
    EXPECT_TRUE(flags.PrintDate);
    EXPECT_FALSE(flags.PrintNotes);
    EXPECT_TRUE(flags.InclMouse);
    EXPECT_TRUE(flags.PopUp);
    EXPECT_FALSE(flags.WatchClips);
    EXPECT_EQ(flags.AutoPrefix, "Vimbrel");
    EXPECT_EQ(flags.AutoExt, ".bmp");
    EXPECT_EQ(flags.LastOpenExt, ".bmp");
    EXPECT_EQ(flags.NextSaveNo, 1);
    EXPECT_EQ(flags.DosFont, "System");
    EXPECT_EQ(flags.ImageEditor, "");  // no Pbrush.exe on this machine
    LoadHotKeyTexts(flags, store);
    EXPECT_EQ(flags.HotKeyFull, "#15");
    EXPECT_EQ(flags.HotKeyActive, "Alt|#15");
    EXPECT_EQ(flags.HotKeyArea, "Win|#15");
    // Folders: the save folder is made under the data folder; the others follow it.
    EXPECT_EQ(flags.SavePath, "C:\\Data\\Vimbrel\\Images\\");
    EXPECT_EQ(flags.OpenPath, flags.SavePath);
    EXPECT_EQ(flags.AutoSavePath, flags.SavePath);  // the pictures folder does not exist
    EXPECT_EQ(loaded.workFolder, "C:\\Data\\Vimbrel\\ework\\");
    EXPECT_EQ(files.created, (std::vector<std::string>{"C:\\Data\\Vimbrel\\Images\\", "C:\\Data\\Vimbrel\\ework"}));
    EXPECT_TRUE(loaded.printerInstalled);
    EXPECT_TRUE(loaded.printingPossible);
    EXPECT_FALSE(loaded.outlookInstalled);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"indicators", "screen", "font System"}));
    EXPECT_TRUE(commands.Checked(cmd::mnuSetScreen));
    EXPECT_FALSE(commands.Enabled(cmd::popSendToEditor));
}

struct StoredCase {
    const char* name;
    const char* stored;
    bool OptionFlags::*field;
    bool expected;
};

TEST_F(SettingsTest, EachFlagReadsOnlyItsOwnOnText) {
    const StoredCase cases[] = {
        {"AutoPrint", "on", &OptionFlags::AutoPrint, true},   {"AutoPrint", "ON", &OptionFlags::AutoPrint, true},
        {"AutoPrint", "Yes", &OptionFlags::AutoPrint, false}, {"AutoSave", "ON", &OptionFlags::AutoSave, false},
        {"AutoSave", "On", &OptionFlags::AutoSave, true},     {"Eject", "yes", &OptionFlags::Eject, false},
        {"Eject", "Yes", &OptionFlags::Eject, true},          {"AutoClipCopy", "On", &OptionFlags::AutoClipCopy, true},
        {"AutoEdit", "Yes", &OptionFlags::AutoEdit, true},    {"PrintDate", "0", &OptionFlags::PrintDate, false},
        {"PrintDate", "1", &OptionFlags::PrintDate, true},    {"PrintDate", "On", &OptionFlags::PrintDate, false},
        {"PrintNotes", "1", &OptionFlags::PrintNotes, true},  {"InclMouse", "0", &OptionFlags::InclMouse, false},
        {"PopUp", "0", &OptionFlags::PopUp, false},           {"PopUp", "1", &OptionFlags::PopUp, true},
        {"WatchClips", "1", &OptionFlags::WatchClips, true},  {"DosPrint", "yEs", &OptionFlags::DosPrint, true},
        {"DosPrint", "1", &OptionFlags::DosPrint, false},     {"AutoOrient", "On", &OptionFlags::AutoOrient, true},
        {"AutoOrient", "on", &OptionFlags::AutoOrient, false},
    };
    for (const auto& c : cases) {
        store.values = {{c.name, c.stored}};
        flags = OptionFlags{};
        Load();
        EXPECT_EQ(flags.*c.field, c.expected) << c.name << " = " << c.stored;
    }
}

TEST_F(SettingsTest, StoredTextsComeBackInTheirStoredForm) {
    store.values = {{"AutoPrint", "ON"}, {"PrintStyle", "best"}, {"SaveMode", "a"}, {"DosPrint", "YES"},
                    {"PopUp", "0"},      {"AutoExt", ".jpg"}};
    Load();
    EXPECT_EQ(flags.PrintStyle, "Best");
    store.writeOrder.clear();
    SaveSettings(flags, store);
    EXPECT_EQ(store.values["AutoPrint"], "On");
    EXPECT_EQ(store.values["AutoSave"], "Off");
    EXPECT_EQ(store.values["SaveMode"], "S");
    EXPECT_EQ(store.values["PrintStyle"], "Best");
    EXPECT_EQ(store.values["DosPrint"], "Yes");
    EXPECT_EQ(store.values["PopUp"], "0");
    EXPECT_EQ(store.values["PrintDate"], "1");
    EXPECT_EQ(store.values["LastOpenExt"], ".jpg");  // follows AutoExt when not stored
    EXPECT_EQ(store.values["Cipher"], "DES");        // until the user chooses
    const std::vector<std::string> order = {
        "AutoPrint", "AutoSave",   "AutoOrient", "AutoClipCopy", "SaveMode",   "PrintStyle", "PrintDate", "PrintNotes",
        "PopUp",     "WatchClips", "InclMouse",  "DosPrint",     "Eject",      "AutoEdit",   "UseOutlook", "DosFont",
        "SavePath",  "OpenPath",   "AutoPrefix", "AutoExt",      "AutoSavePath", "ImageEditor", "LastOpenExt",
        "Cipher"};
    EXPECT_EQ(store.writeOrder, order);
    EXPECT_EQ(store.values.count("NextSaveNo"), 0u);
}

TEST_F(SettingsTest, CipherIsDesUnlessStrongIsStored) {
    const std::pair<const char*, FileCipher> cases[] = {
        {"", FileCipher::Des}, {"DES", FileCipher::Des}, {"Strong", FileCipher::Strong},
        {"STRONG", FileCipher::Strong}, {"AES", FileCipher::Des}};
    for (const auto& [stored, expected] : cases) {
        store.values = {{"Cipher", stored}};
        Load();
        EXPECT_EQ(flags.Cipher, expected) << stored;
    }
    SaveSettings(flags, store);
    EXPECT_EQ(store.values["Cipher"], "DES") << "an unknown name is stored back as the default";
    flags.Cipher = FileCipher::Strong;
    SaveSettings(flags, store);
    EXPECT_EQ(store.values["Cipher"], "Strong");
}

TEST_F(SettingsTest, PrintStyleReadsItsThreeNamesInAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"best", "Best"}, {"ZOOM", "Zoom"}, {"Large", "Full"}, {"", "Full"}, {"full", "Full"}};
    for (const auto& [stored, expected] : cases) {
        store.values = {{"PrintStyle", stored}};
        Load();
        EXPECT_EQ(flags.PrintStyle, expected) << stored;
    }
}

TEST_F(SettingsTest, TheOverrideFileWinsWhereItHasAValue) {
    useOverride = true;
    store.values = {{"AutoPrint", "Off"}, {"PopUp", "1"}, {"PrintDate", "1"}, {"PrintStyle", "Zoom"}};
    overrides.keys = {{{"General", "AutoPrint"}, "on"},
                      {{"General", "AutoPopup"}, "off"},
                      {{"General", "PrintDateTime"}, "no"},
                      {{"Printer", "Width"}, "best"}};
    Load();
    EXPECT_TRUE(flags.AutoPrint);
    EXPECT_FALSE(flags.PopUp);
    EXPECT_FALSE(flags.PrintDate);
    EXPECT_EQ(flags.PrintStyle, "Best");
    EXPECT_TRUE(commands.Checked(cmd::mnuAutoPrint));
    EXPECT_TRUE(commands.Checked(cmd::popAutoPrint));

    overrides.keys = {{{"General", "AutoPrint"}, ""}};  // an empty key falls back
    Load();
    EXPECT_FALSE(flags.AutoPrint);
}

TEST_F(SettingsTest, OverridePrinterNameSelectsByPrefixInAnyCase) {
    useOverride = true;
    overrides.keys = {{{"Printer", "Name"}, "hp"}, {{"Printer", "Orientation"}, "landscape"}};
    Load();
    EXPECT_EQ(printers.selected, "HP DeskJet 500");
    EXPECT_EQ(printers.orientation, PrinterOrientation::Landscape);

    printers.selected = "Office Laser";
    overrides.keys = {{{"Printer", "Name"}, "Canon"}, {{"Printer", "Orientation"}, "sideways"}};
    Load();
    EXPECT_EQ(printers.selected, "Office Laser");
    EXPECT_EQ(printers.orientation, PrinterOrientation::Portrait);
}

TEST_F(SettingsTest, APrinterThatCannotAnswerDisablesPrinting) {
    useOverride = true;
    overrides.keys = {{{"Printer", "Name"}, "hp"}};
    printers.answers = false;
    LoadedSettings loaded = Load();
    EXPECT_FALSE(loaded.printingPossible);
    EXPECT_FALSE(commands.Enabled(cmd::PrintSetup1));
    EXPECT_FALSE(commands.Enabled(cmd::btnPrtSetup));
    EXPECT_EQ(printers.selected, "Office Laser");
}

TEST_F(SettingsTest, WithoutPrintersAutoOrientIsNotReadAndStoredOff) {
    printers.names.clear();
    store.values = {{"AutoOrient", "On"}, {"UseOutlook", "Yes"}};
    LoadedSettings loaded = Load();
    EXPECT_FALSE(loaded.printerInstalled);
    EXPECT_FALSE(flags.AutoOrient);
    EXPECT_FALSE(flags.UseOutlook);  // no Outlook either
    SaveSettings(flags, store);
    EXPECT_EQ(store.values["AutoOrient"], "Off");
    EXPECT_EQ(store.values["UseOutlook"], "No");
}

TEST_F(SettingsTest, OutlookCountsOnlyWhenItsProgramExists) {
    store.values = {{"UseOutlook", "Yes"}};
    system.outlook = "C:\\Office\\OUTLOOK.EXE";
    EXPECT_FALSE(Load().outlookInstalled);
    files.files[system.outlook] = 1000;
    EXPECT_TRUE(Load().outlookInstalled);
    EXPECT_TRUE(flags.UseOutlook);
    system.outlookValueBroken = true;  // not a string value: no Outlook, start-up goes on
    EXPECT_FALSE(Load().outlookInstalled);
    EXPECT_FALSE(flags.UseOutlook);
}

TEST_F(SettingsTest, StoredFoldersFallBackWhenMissing) {
    files.folders = {"D:\\Shots\\", "C:\\Users\\Me\\Pictures\\"};
    store.values = {{"SavePath", "D:\\Gone\\"}, {"OpenPath", "D:\\Shots\\"}};
    Load();
    EXPECT_EQ(flags.SavePath, "C:\\Data\\Vimbrel\\Images\\");
    EXPECT_EQ(flags.OpenPath, "D:\\Shots\\");
    EXPECT_EQ(flags.AutoSavePath, "C:\\Users\\Me\\Pictures\\");

    store.values = {{"SavePath", "D:\\Shots\\"}, {"AutoSavePath", "E:\\Nowhere\\"}, {"OpenPath", "E:\\x\\"}};
    files.created.clear();
    Load();
    EXPECT_EQ(flags.SavePath, "D:\\Shots\\");
    EXPECT_EQ(flags.AutoSavePath, "D:\\Shots\\");
    EXPECT_EQ(flags.OpenPath, "D:\\Shots\\");
    EXPECT_EQ(files.created, (std::vector<std::string>{}));  // the work folder exists by now
}

TEST_F(SettingsTest, NextSaveNoIsReadLeniently) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"12abc", 12}, {"", 1}, {"abc", 0}, {"  7", 7}, {"2147483648", 2147483648}};
    for (const auto& [stored, expected] : cases) {
        store.values = {{"NextSaveNo", stored}};
        Load();
        EXPECT_EQ(flags.NextSaveNo, expected) << '"' << stored << '"';
    }
    WriteNextSaveNo(13, store);
    EXPECT_EQ(store.values["NextSaveNo"], "13");
}

TEST_F(SettingsTest, ImageEditorDefaultsToPaintWhenItExists) {
    files.files["C:\\Windows\\Pbrush.exe"] = 1;
    Load();
    EXPECT_EQ(flags.ImageEditor, "C:\\Windows\\Pbrush.exe");
    EXPECT_TRUE(commands.Enabled(cmd::popSendToEditor));
    store.values = {{"ImageEditor", "C:\\Gone\\edit.exe"}};
    Load();
    EXPECT_EQ(flags.ImageEditor, "");
    EXPECT_FALSE(commands.Enabled(cmd::popSendToEditor));
}

TEST_F(SettingsTest, AreaModeRunsTheAreaCommand) {
    store.values = {{"SaveMode", "A"}, {"DosFont", "Arial"}};
    Load();
    EXPECT_EQ(flags.SaveMode, "A");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"indicators", "area", "font Arial"}));
}

TEST_F(SettingsTest, AFailingWriteStopsTheRestOfTheWrites) {
    store.failWrites = true;
    EXPECT_THROW(SaveSettings(flags, store), ERegistryException);
    EXPECT_TRUE(store.values.empty());
}

TEST_F(SettingsTest, SingleValues) {
    EXPECT_TRUE(ShouldConfirmExit(store));
    store.values["CheckClose"] = "n";
    EXPECT_TRUE(ShouldConfirmExit(store));
    WriteDoNotConfirmExit(store);
    EXPECT_FALSE(ShouldConfirmExit(store));
    store.values["HotKeyArea"] = "Ctrl|#20";
    LoadHotKeyTexts(flags, store);
    EXPECT_EQ(flags.HotKeyArea, "Ctrl|#20");
    WriteMainPosn("1,2,3,4", store);
    EXPECT_EQ(ReadMainPosn(store), "1,2,3,4");
}

TEST(OverrideFileUse, EmptyFileIsDeletedAndNotUsed) {
    FakeFiles files;
    EXPECT_FALSE(UseOverrideFile("C:\\P\\VRCustom.ini", files));
    files.files["C:\\P\\VRCustom.ini"] = 0;
    EXPECT_FALSE(UseOverrideFile("C:\\P\\VRCustom.ini", files));
    EXPECT_EQ(files.removed, (std::vector<std::string>{"C:\\P\\VRCustom.ini"}));
    files.files["C:\\P\\VRCustom.ini"] = 20;
    EXPECT_TRUE(UseOverrideFile("C:\\P\\VRCustom.ini", files));
}

TEST(DataFolder, UnderAppDataOnNtElseTheProgramFolder) {
    FolderTable table{{"%APPDATA%=C:\\USERS\\ME\\APPDATA\\ROAMING"}, {}};
    TPBPathList paths(table);
    EXPECT_EQ(ComputeDataFolder(true, paths, "C:\\Prog\\"), "C:\\Users\\Me\\Appdata\\Roaming\\Vimbrel\\");
    EXPECT_EQ(ComputeDataFolder(false, paths, "C:\\Prog\\"), "C:\\Prog\\");
    FolderTable empty;
    EXPECT_EQ(ComputeDataFolder(true, TPBPathList(empty), "C:\\Prog\\"), "C:\\Prog\\");
}

}  // namespace
}  // namespace vimbrel
