#pragma once
// Builds the window's menus, tool bar and accelerators from the command table, and keeps
// each control in step with its command state.
#include <windows.h>

#include <string>
#include <vector>

#include "commands/command_router.h"
#include "commands/command_table.h"
#include "app/main_form_rules.h"
#include "util/win32/handles.h"
#include "util/command_states.h"

namespace vimbrel::win32 {

// The menu bar (Menu::Main) or a popup menu filled with the table's items; hidden items are
// left out, their names stay known to the command states.
UniqueMenu BuildMenu(const CommandTable& table, Menu which);

// Accelerators for every Ctrl shortcut of the main menu.
UniqueAccel BuildAccelerators(const CommandTable& table);

// A tool bar child window with the table's buttons and their hints, sized for the window's
// density; its id is `id`.
HWND CreateToolBar(HWND parent, int id, const MainFormMetrics& metrics, const CommandTable& table);

// The "Add a cursor" items are drawn by the window: 8 x 18 each at 96 dpi, showing their cursor.
void MeasureCursorItem(MEASUREITEMSTRUCT& item, const MainFormMetrics& metrics);
void DrawCursorItem(const DRAWITEMSTRUCT& item);

// Applies one command's state to every menu and tool bar control carrying its name.
// A command whose handler nobody serves stays disabled.
void MirrorCommandState(const CommandTable& table, CommandName name, const CommandState& state,
                        const CommandRouter& router, const std::vector<HMENU>& menus, HWND toolBar);

}  // namespace vimbrel::win32
