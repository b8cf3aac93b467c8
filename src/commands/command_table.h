#pragma once
// Every command control of the main window in one table: its name, caption, shortcut and
// handler, the menus and tool bar it sits in and the order it stands there. The Win32 window
// builds its menus, tool bar and accelerators from here, and the logic refers to controls by
// name, so a caption or a shortcut is written in exactly one place.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/command_names.h"

namespace vimbrel {

// What a command does, shared by the controls that start it; the command router routes on
// it. The last ones have no control: the keys the window sees first and the hotkeys.
enum class Handler {
    None,
    OpenFile, Save, SaveAs, SaveAsShown, SaveEncrypted, EncryptFile, OpenEncrypted,
    SendMail, PrintSetup, PrintPreview, Print, Exit, Undo, Clear, Copy, Paste, Grey,
    Editor, SetScreen, SetArea, Options, Zoom, AddCursor, Crop, CaptureArea,
    CaptureScreenNow, CaptureActiveNow, AutoPrint, AutoSave, Notes, Restore,
    HelpContents, HelpContext, WebLink, WebLink2, About,
    PreviousNumberedFile, NextNumberedFile, PrintWithNotes, NumberedSave,
    HotKey,  // argument: the hotkey entry, 0 full screen, 1 active window, 2 area
    ClipboardChanged,   // the clipboard-viewer chain's notice
    PrintConsoleText,   // console text arrived on the clipboard
};

struct MenuItem {
    CommandName name;      // cmd::mnuOpenFile; none for separators
    std::string caption;   // with its "&" accelerator mark
    std::string shortcut;  // "Ctrl+O", "F1" or empty
    Handler handler = Handler::None;
    int argument = 0;      // zoom numerator/denominator, help context, cursor number
    bool hidden = false;
    std::vector<MenuItem> children;
    bool IsSeparator() const { return name.Empty(); }
};

struct ToolButton {
    CommandName name;  // cmd::btnOpenFile; none for a separator line
    std::string hint;
    Handler handler = Handler::None;
    int width = 25;
    std::string caption;  // only btnOptions shows text
};

struct Shortcut {
    bool ctrl = false;
    int key = 0;  // virtual-key code
};

// The main menu bar: File, Edit, Options, Image, Help.
const std::vector<MenuItem>& MainMenu();
const std::vector<MenuItem>& TrayMenu();
const std::vector<MenuItem>& ImageMenu();
const std::vector<ToolButton>& ToolBar();

// Each control has a unique command id; names map to ids and back.
struct CommandRef {
    CommandName name;
    Handler handler;
    int argument;
};
int CommandId(CommandName name);  // 0 for a name the table does not hold
std::optional<CommandRef> CommandById(int id);
std::vector<CommandName> AllCommandNames();

// "Ctrl+O" -> {true, 'O'}; "F1" -> {false, VK_F1}. Empty or unknown texts give nothing.
std::optional<Shortcut> ParseShortcut(std::string_view text);

}  // namespace vimbrel
