#pragma once
// The help cursor slot: the system's help arrow until the print preview first opens and
// puts its own "PREVIEWCURSOR" there, which then stays for the run (the fourth cursor
// stamp draws whatever the slot holds).
#include <windows.h>

namespace vimbrel::win32 {

HCURSOR HelpSlotCursor();
// Loads "PREVIEWCURSOR" into the slot; the slot keeps its picture when the resource is missing.
HCURSOR LoadPreviewCursorIntoHelpSlot();

// The picture of cursor stamp 1 to 4: the arrow, the pointing hand, the no-drop sign and
// the help slot. Null for other numbers.
HCURSOR StampCursor(int stamp);

}  // namespace vimbrel::win32
