#pragma once
// The main window's own controls: its menu bar, tray menu, picture menu and tool bar as the
// program has always shown them. Command groups with controls of their own add them to a
// copy of this table when the program is put together.
#include "commands/command_table.h"

namespace vimbrel {

CommandTable StandardCommandTable();

}  // namespace vimbrel
