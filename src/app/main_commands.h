#pragma once
// The main window's command table as the program is put together: the standard controls
// and every control a command group adds to them. Built once; the window builds its menus,
// tool bar and accelerators from it and the router finds the control of a command id in it.
#include "commands/command_table.h"

namespace vimbrel {

const CommandTable& MainCommandTable();

}  // namespace vimbrel
