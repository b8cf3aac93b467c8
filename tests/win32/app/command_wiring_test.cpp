// The composition unit as the program builds it: every command handler has an action bound,
// and every menu item, tool button and accelerator the window builds names a command of the
// table whose handler is bound. A group whose handler nobody binds leaves its controls dead.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_form_rules.h"
#include "app/win32/command_groups.h"
#include "app/win32/main_settings.h"
#include "app/win32/menu_builder.h"
#include "commands/command_router.h"
#include "app/main_commands.h"
#include "desktop/win32/sys_hotkey.h"
#include "fake_ports.h"
#include "workspace/current_image.h"

namespace vimbrel::win32 {
namespace {

struct QuietSettingsView final : SettingsView {
    void SetCaptureMode(bool) override {}
    void OptionIndicatorsChanged() override {}
    void CreatePrintTextFont(const std::string&) override {}
};

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    std::string self(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of('\\') + 1);
}

class CommandWiringTest : public ::testing::Test {
protected:
    CommandWiringTest()
        : window(::CreateWindowExA(0, "STATIC", "wiring", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)),
          settings(ProgramFolder(), commands, settingsView),
          image(commands, fakes, fakes, [] { return false; }),
          groups(MainWindowParts{window, "  Vimbrel   ", ProgramFolder(), settings, image, commands, fakes, fakes,
                                 shk1.HotKeys(), table, imageBox, [] { return HFONT(nullptr); }, [] {}, [] {}, [] {}, [](const std::string&) {}},
                 router) {}
    ~CommandWiringTest() override { ::DestroyWindow(window); }

    // Every item of a built menu, submenus included: its command id names a command of the
    // table whose handler is bound (submenus and hidden items carry no handler).
    void ExpectWired(HMENU menu, const std::string& where) {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
            ASSERT_TRUE(::GetMenuItemInfoA(menu, UINT(i), TRUE, &info)) << where << " item " << i;
            if (info.fType & MFT_SEPARATOR) continue;
            auto command = table.ById(int(info.wID));
            ASSERT_TRUE(command.has_value()) << where << " item " << i << " has id " << info.wID;
            if (info.hSubMenu) {
                ExpectWired(info.hSubMenu, where + " > " + std::string(command->name.Text()));
            } else if (!command->handler.Empty()) {
                EXPECT_TRUE(router.Wired(command->handler)) << command->name << " in " << where;
            }
        }
    }

    HWND window;
    CommandStates commands;
    QuietSettingsView settingsView;
    testing::FakeWindow fakes;
    MainSettings settings;
    CurrentImage image;
    SysHotKeyHost shk1;
    const CommandTable& table = MainCommandTable();
    CommandRouter router{table};
    ImageBox imageBox;
    CommandGroups groups;
};

TEST_F(CommandWiringTest, TheHandlersWithoutAControlHaveTheirActionsBound) {
    for (Handler h : {handler::HotKey, handler::ClipboardChanged, handler::PrintConsoleText, handler::PreviousNumberedFile,
                      handler::NextNumberedFile, handler::PrintWithNotes, handler::NumberedSave})
        EXPECT_TRUE(router.Wired(h)) << h << " has no action";
}

TEST_F(CommandWiringTest, EveryMenuItemToolButtonAndKeyNamesABoundCommandOfTheTable) {
    ExpectWired(BuildMenu(table, Menu::Main).get(), "menu bar");
    ExpectWired(BuildMenu(table, Menu::Tray).get(), "tray menu");
    ExpectWired(BuildMenu(table, Menu::Image).get(), "picture menu");

    for (const ToolButton& b : table.ToolBar()) {
        if (b.name.Empty()) continue;
        auto command = table.ById(table.Id(b.name));
        ASSERT_TRUE(command.has_value()) << b.name;
        EXPECT_TRUE(router.Wired(command->handler)) << b.name;
    }

    UniqueAccel keys = BuildAccelerators(table);
    ACCEL accelerators[64];
    const int n = ::CopyAcceleratorTableA(keys.get(), accelerators, 64);
    ASSERT_GT(n, 0);
    for (int i = 0; i < n; ++i) {
        auto command = table.ById(accelerators[i].cmd);
        ASSERT_TRUE(command.has_value()) << "accelerator " << i;
        EXPECT_TRUE(router.Wired(command->handler)) << command->name;
    }

    // The keys the window sees first, with every command enabled.
    for (bool ctrl : {false, true}) {
        for (int key = 1; key < 256; ++key) {
            const Handler h = ClassifyFormKey(key, ctrl, commands);
            if (h == handler::None) continue;
            EXPECT_TRUE(router.Wired(h)) << "key " << key << (ctrl ? " with Ctrl" : "");
        }
    }
}

}  // namespace
}  // namespace vimbrel::win32
