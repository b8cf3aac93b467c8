#pragma once
// Whether another process's dialog shows its buttons whole: on a dense screen a window sized
// in pixels while its controls grow with the font cuts them off.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// One line for each button of `dialog` (its child dialogs' too) that reaches outside the
// dialog's client area, and for each push button narrower than its caption in `font`
// (Arial 8 pt at `dpi` for our dialogs); empty when every button fits.
std::vector<std::string> ClippedButtons(HWND dialog, int dpi);

}  // namespace e2e
