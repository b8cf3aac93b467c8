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

// A menu bar (top) or popup menu filled with the items; hidden items are left out, their
// names stay known to the command states.
UniqueMenu BuildMenu(const std::vector<MenuItem>& items, bool menuBar);

// Accelerators for every Ctrl shortcut of the main menu.
UniqueAccel BuildAccelerators();

// A tool bar child window with the buttons and their hints, sized for the window's
// density; its id is `id`.
HWND CreateToolBar(HWND parent, int id, const MainFormMetrics& metrics);

// The "Add a cursor" items are drawn by the window: 8 x 18 each at 96 dpi, showing their cursor.
void MeasureCursorItem(MEASUREITEMSTRUCT& item, const MainFormMetrics& metrics);
void DrawCursorItem(const DRAWITEMSTRUCT& item);

// Text the tool bar shows as the tooltip of a button's command id; empty when none.
std::string ToolBarHint(int commandId);

// Applies one command's state to every menu and tool bar control carrying its name.
// A command whose handler nobody serves stays disabled.
void MirrorCommandState(CommandName name, const CommandState& state, const CommandRouter& router,
                        const std::vector<HMENU>& menus, HWND toolBar);

}  // namespace vimbrel::win32
