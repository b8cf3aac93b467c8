#pragma once
// Every command control of the main window in one table: its name, caption, shortcut and
// handler, the menus and tool bar it sits in and the order it stands there. The Win32 window
// builds its menus, tool bar and accelerators from the table, and the logic refers to
// controls by name, so a caption or a shortcut is written in exactly one place.
//
// The main window's own controls make the standard table (commands/standard_commands.h); a
// command group with controls of its own adds them to named places of it when the program
// is put together, so adding a group changes neither the standard table nor this kit.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/handlers.h"
#include "util/command_names.h"

namespace vimbrel {

struct MenuItem {
    CommandName name;      // cmd::mnuOpenFile; none for separators
    std::string caption;   // with its "&" accelerator mark
    std::string shortcut;  // "Ctrl+O", "F1" or empty
    Handler handler;
    int argument = 0;      // zoom numerator/denominator, help context, cursor number
    bool hidden = false;
    std::vector<MenuItem> children;
    bool IsSeparator() const { return name.Empty(); }
};

// The common controls' standard small tool bar pictures.
enum class ToolImage { None, FileOpen, FileSave, Replace, Properties, PrintPreview, Print, Undo, Copy, Paste, Delete, Cut, Find, Help, RedoW };

struct ToolButton {
    CommandName name;  // cmd::btnOpenFile; none for a separator line
    std::string hint;
    Handler handler;
    ToolImage image = ToolImage::None;
    int width = 25;
    std::string caption;  // only btnOptions shows text
};

// A control found by its command id.
struct CommandRef {
    CommandName name;
    Handler handler;
    int argument;
};

enum class Menu { Main, Tray, Image };

class CommandTable {
public:
    CommandTable(std::vector<MenuItem> mainMenu, std::vector<MenuItem> trayMenu, std::vector<MenuItem> imageMenu,
                 std::vector<ToolButton> toolBar);

    // The menu bar (File, Edit, Options, Image, Help), the tray menu, the picture's menu.
    const std::vector<MenuItem>& MenuItems(Menu menu) const;
    const std::vector<ToolButton>& ToolBar() const { return toolBar_; }

    // Places for a group's own controls. `after` names an item anywhere in the menu, and the
    // new item follows it in the same list; with no name the item ends the top level.
    // Naming a control the menu does not hold, or giving a name that is taken, is a wiring
    // mistake (std::logic_error).
    void AddItem(Menu menu, CommandName after, MenuItem item);
    // The item ends the submenu `submenu` (a name in the menu with children, or none yet).
    void AddItemTo(Menu menu, CommandName submenu, MenuItem item);
    void AddButton(CommandName after, ToolButton button);

    // Each control has a unique command id that stays the same whatever a group adds;
    // names map to ids and back.
    int Id(CommandName name) const;  // 0 for a name the table does not hold
    std::optional<CommandRef> ById(int id) const;
    const std::vector<CommandName>& Names() const { return names_; }
    // The tool bar hint of a button's command id; empty when none.
    std::string Hint(int id) const;

private:
    std::vector<MenuItem>& MenuList(Menu menu);
    void Register(CommandName name, Handler handler, int argument);
    void RegisterAll(const std::vector<MenuItem>& items);

    std::vector<MenuItem> main_, tray_, image_;
    std::vector<ToolButton> toolBar_;
    std::map<CommandName, int> ids_;
    std::map<int, CommandRef> refs_;
    std::vector<CommandName> names_;
};

struct Shortcut {
    bool ctrl = false;
    int key = 0;  // virtual-key code
};

// "Ctrl+O" -> {true, 'O'}; "F1" -> {false, VK_F1}. Empty or unknown texts give nothing.
std::optional<Shortcut> ParseShortcut(std::string_view text);

}  // namespace vimbrel
