#pragma once
// The windows on the screen that the area overlay offers for a click, as they are when it
// opens: visible, not minimised, not this program's, each with its visible controls.
#include <windows.h>

#include "capture/window_snap.h"

namespace vimbrel::win32 {

// In the coordinates of a space whose top-left lies at origin on the screen.
WindowSnap SnapWindowsOnScreen(Point origin);

}  // namespace vimbrel::win32
