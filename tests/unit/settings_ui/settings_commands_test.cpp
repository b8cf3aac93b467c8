// "Option Settings" end to end through the ports: the hotkeys off while the dialog is open,
// OK applying through the menu handlers and the stores, Cancel applying nothing, and the
// notice for a capture hotkey the system refused, shared with start-up.
#include <gtest/gtest.h>

#include <set>

#include "capture/capture_hotkeys.h"
#include "settings_ui/settings_commands.h"
#include "fake_ports.h"

namespace vimbrel {
namespace {

using testing::FakeWindow;
using testing::LogRoutes;
using testing::MemoryStore;

// The system's hotkey table: what is held, and combinations another program holds.
struct SystemHotKeys : HotKeyRegistrar {
    std::set<std::pair<unsigned, unsigned>> heldElsewhere;
    std::map<int, std::pair<unsigned, unsigned>> held;
    bool RegisterHotKey(int id, unsigned modifiers, unsigned key) override {
        if (heldElsewhere.count({modifiers, key})) return false;
        held[id] = {modifiers, key};
        return true;
    }
    void UnregisterHotKey(int id) override { held.erase(id); }
};

struct NoticeLog : UserNotice {
    std::vector<std::string> shown;
    void Notify(const std::string& title, const std::string& text) override { shown.push_back(title + ": " + text); }
};

struct NoFiles : FileSystemPort {
    bool FileExists(const std::string&) const override { return false; }
    bool FolderExists(const std::string&) const override { return true; }
    std::optional<std::uint64_t> FileSize(const std::string&) const override { return std::nullopt; }
    bool CreateFolderPath(const std::string&) override { return true; }
    bool RemoveFile(const std::string&) override { return false; }
};

// The Run key entry, with every write it was given.
struct FakeStartup : StartupEntry {
    bool registered = false;
    std::vector<bool> writes;
    bool Registered() override { return registered; }
    void Set(bool on) override {
        writes.push_back(on);
        registered = on;
    }
};

// The dialog as a user works it: the script gets the filled values and the context.
struct ScriptedDialog : SettingsDialogWindow {
    std::function<std::optional<TfrmSettingsValues>(TfrmSettingsValues, SettingsDialogContext&)> user;
    std::function<void()> whileOpen = [] {};
    std::optional<TfrmSettingsValues> ShowModal(const TfrmSettingsValues& filled,
                                                SettingsDialogContext& context) override {
        whileOpen();
        return user(filled, context);
    }
};

struct PickCtrlShiftF12 : HotKeyEditorWindow {
    bool ShowModal(TfrmHKSet& e, const char*, int, int) override {
        e.chkWin = false;
        e.chkCtrl = e.chkShift = true;
        e.cboHotkey = 80;  // "F12"
        return true;
    }
};

constexpr unsigned kPrintScreen = 0x2C, kF12 = 0x7B;

class SettingsCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        hotKeys.SetActive(true);
        RegisterCaptureHotKeys(hotKeys, flags);
        WatchCaptureHotKeys(hotKeys, flags, notice);
        LogRoutes(router, ui.log, {{handler::AutoSave, "auto save"}, {handler::AutoPrint, "auto print"}});
        router.Bind(handler::HelpContext, [this](const CommandRef& ref) { ui.log.push_back("help " + std::to_string(ref.argument)); });
        cmd.BindTo(router);
    }

    FakeWindow ui;
    NoFiles files;
    OptionFlags flags;
    CommandStates commands;
    CurrentImage image{commands, ui, ui, [] { return false; }};
    MemoryStore store;
    SystemHotKeys system;
    TSysHotKey hotKeys{system};
    CommandRouter router{testing::StandardTable()};
    ScriptedDialog dialog;
    NoticeLog notice;
    FakeStartup startup;
    SettingsCommands cmd{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, "", ""},
                         dialog, false, startup};
};

TEST_F(SettingsCommandsTest, OkAppliesThroughTheMenuHandlersReplacesTheHotKeysAndStoresEverything) {
    bool heldWhileOpen = true;
    dialog.whileOpen = [&] { heldWhileOpen = hotKeys.Active() || !system.held.empty(); };
    dialog.user = [&](TfrmSettingsValues v, SettingsDialogContext& context) {
        v.chkAutoSave = true;
        v.chkEject = true;
        v.txtNextSaveNo = "42";
        PickCtrlShiftF12 editor;
        v.hotKeys[2] = *EditHotKey(context.hotKeyEditor, editor, CaptureHotKey::Area, v.hotKeys[2], 0, 0);
        v.hotKeysChanged = true;
        return v;
    };
    ASSERT_TRUE(router.Route(handler::Options));

    EXPECT_FALSE(heldWhileOpen) << "no capture can start while the dialog is open";
    EXPECT_TRUE(hotKeys.Active());
    EXPECT_EQ(system.held.at(0), std::make_pair(0u, kPrintScreen));
    EXPECT_EQ(system.held.at(2), std::make_pair(2u | 4u, kF12)) << "Ctrl+Shift+F12 under the area's id";
    EXPECT_EQ(store.values["HotKeyArea"], "Ctrl|Shift|#80");
    EXPECT_EQ(store.values["Eject"], "Yes");
    EXPECT_EQ(store.values["PrintStyle"], "Full");
    EXPECT_EQ(flags.NextSaveNo, 42);
    EXPECT_EQ(store.values.count("NextSaveNo"), 0u) << "the number reaches the registry with the next save";
    EXPECT_EQ(ui.log, (std::vector<std::string>{"auto save", "indicators"}));
    EXPECT_TRUE(notice.shown.empty());
}

TEST_F(SettingsCommandsTest, StartWithWindowsIsWrittenToTheRunKeyOnlyWhenTheUserChangesIt) {
    auto tick = [](bool on) {
        return [on](TfrmSettingsValues v, SettingsDialogContext&) -> std::optional<TfrmSettingsValues> {
            v.chkStartWithWindows = on;
            return v;
        };
    };
    auto untouched = [](TfrmSettingsValues v, SettingsDialogContext&) -> std::optional<TfrmSettingsValues> {
        EXPECT_TRUE(v.chkStartWithWindows) << "the box shows the option as it stands";
        return v;
    };
    dialog.user = tick(true);
    cmd.mnuOptionsClick();
    EXPECT_TRUE(flags.StartWithWindows);
    dialog.user = untouched;
    cmd.mnuOptionsClick();
    dialog.user = tick(false);
    cmd.mnuOptionsClick();
    EXPECT_FALSE(flags.StartWithWindows);
    EXPECT_EQ(startup.writes, (std::vector<bool>{true, false}));
    EXPECT_EQ(store.values.count("StartWithWindows"), 0u) << "kept in the Run key, not the program's own key";
}

TEST_F(SettingsCommandsTest, CancelAfterChangingAHotKeyLeavesStoreAndRegistrationAsTheyWere) {
    dialog.user = [](TfrmSettingsValues v, SettingsDialogContext&) -> std::optional<TfrmSettingsValues> {
        v.hotKeys[0] = "Ctrl|#80";
        v.hotKeysChanged = true;
        return std::nullopt;
    };
    cmd.mnuOptionsClick();
    EXPECT_TRUE(store.values.empty());
    EXPECT_EQ(flags.HotKeyFull, "#15");
    EXPECT_EQ(system.held.at(0), std::make_pair(0u, kPrintScreen));
    EXPECT_EQ(system.held.size(), 3u);
    EXPECT_EQ(ui.log, std::vector<std::string>{"indicators"});
}

TEST_F(SettingsCommandsTest, AChangedHotKeyTheSystemRefusesIsNamedOnceAfterOk) {
    system.heldElsewhere = {{2u | 4u, kF12}};
    dialog.user = [](TfrmSettingsValues v, SettingsDialogContext&) -> std::optional<TfrmSettingsValues> {
        v.hotKeys[1] = "Ctrl|Shift|#80";
        v.hotKeysChanged = true;
        return v;
    };
    cmd.mnuOptionsClick();
    EXPECT_EQ(store.values["HotKeyActive"], "Ctrl|Shift|#80") << "stored as chosen";
    EXPECT_EQ(system.held.count(1), 0u);
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_NE(notice.shown[0].find("Ctrl, Shift, F12 does not capture"), std::string::npos) << notice.shown[0];

    // OK without a hotkey change says nothing, even though the key is still refused.
    dialog.user = [](TfrmSettingsValues v, SettingsDialogContext&) -> std::optional<TfrmSettingsValues> { return v; };
    cmd.mnuOptionsClick();
    EXPECT_EQ(notice.shown.size(), 1u);
}

TEST_F(SettingsCommandsTest, AKeyAnotherProgramTakesWhileTheDialogIsOpenIsNamedWhenItClosesOnce) {
    dialog.whileOpen = [&] { system.heldElsewhere = {{0u, kPrintScreen}}; };
    dialog.user = [](TfrmSettingsValues, SettingsDialogContext&) -> std::optional<TfrmSettingsValues> {
        return std::nullopt;
    };
    cmd.mnuOptionsClick();
    EXPECT_EQ(system.held.count(0), 0u);
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_EQ(notice.shown[0].find(std::string(kRefusedHotKeyTitle) + ": PrintScreen does not capture"), 0u)
        << notice.shown[0];

    cmd.mnuOptionsClick();
    EXPECT_EQ(notice.shown.size(), 1u) << "still taken, and the user knows";
}

TEST_F(SettingsCommandsTest, F1OnAPageOpensItsHelpContext) {
    dialog.user = [](TfrmSettingsValues, SettingsDialogContext& context) -> std::optional<TfrmSettingsValues> {
        context.openHelp(SettingsHelpContext(1));
        return std::nullopt;
    };
    cmd.mnuOptionsClick();
    EXPECT_EQ(ui.log.front(), "help 420");
}

TEST(CaptureHotKeyNotice, NamesEveryRefusedCombinationInEntryOrderAndNothingWhenAllAreHeld) {
    SystemHotKeys system;
    OptionFlags flags;
    NoticeLog notice;
    {
        TSysHotKey hotKeys{system};
        hotKeys.SetActive(true);
        RegisterCaptureHotKeys(hotKeys, flags);
        ReportRefusedCaptureHotKeys(hotKeys, flags, notice);
        EXPECT_TRUE(notice.shown.empty());
    }
    system.heldElsewhere = {{0u, kPrintScreen}, {8u, kPrintScreen}};
    TSysHotKey hotKeys{system};
    hotKeys.SetActive(true);
    RegisterCaptureHotKeys(hotKeys, flags);
    EXPECT_EQ(RefusedCaptureHotKeys(hotKeys, flags), (std::vector<std::string>{"PrintScreen", "Win, PrintScreen"}));
    ReportRefusedCaptureHotKeys(hotKeys, flags, notice);
    ASSERT_EQ(notice.shown.size(), 1u);
    EXPECT_EQ(notice.shown[0].rfind("Capture hotkey not available: PrintScreen; Win, PrintScreen do not capture", 0),
              0u)
        << notice.shown[0];
    // Switched off, nothing is held and nothing is refused.
    hotKeys.SetActive(false);
    EXPECT_TRUE(RefusedCaptureHotKeys(hotKeys, flags).empty());
}

}  // namespace
}  // namespace vimbrel
