#pragma once
// Rules of the main window that need no window: indicator texts, the status bar's
// first panel, the keys the window sees before its controls.
#include <string>

#include "commands/command_table.h"
#include "util/dpi_scale.h"
#include "util/command_states.h"
#include "util/geometry.h"

namespace vimbrel {

inline constexpr const char* kMainCaption = "  Vimbrel";
inline constexpr int kDesignClientWidth = 531;
inline constexpr int kDesignClientHeight = 271;
inline constexpr int kStatusPanelWidths[4] = {50, 65, 65, 75};
inline constexpr int kToolBarHeight = 34;

// The caption followed by three spaces: title of every message box and start of the tray hint.
std::string AppTitleFor(const std::string& caption);

struct OptionIndicators {
    std::string panel1, panel2, panel3;
    std::string trayHint;
};
OptionIndicators IndicatorsFor(const std::string& appTitle, bool autoPrint, bool autoSave, bool printNotes);

// The window's lengths at a screen density: the design sizes above at 96 dpi, grown in
// proportion on denser screens.
struct MainFormMetrics {
    int dpi;
    Size client;
    int toolBarHeight;     // where the picture's box starts
    int buttonSize;        // the tool bar's square buttons
    int separatorWidth;    // a gap between groups of tool buttons
    int buttonImageSize;   // the system's tool bar pictures: 16 or 24 pixels
    int statusFontHeight;  // character height of the status bar's font
    int statusPanelWidths[4];
    Size cursorItem;  // the "Add a cursor" menu items
};
MainFormMetrics MainFormMetricsAt(int dpi);

// Panel 0 takes whatever the three fixed panels leave.
int StatusPanel0Width(int statusBarWidth, int dpi = kDesignDpi);

// The command of a key handled before any control sees it, handler::None for the others;
// commands' enabled states gate some.
Handler ClassifyFormKey(int virtualKey, bool ctrl, const CommandStates& commands);

}  // namespace vimbrel

namespace vimbrel {
// The help page beside the program for a help context: 0 is the contents, then 100
// capturing, 200 printing, 300 saving, 410 to 440 the settings dialog's four pages and 500
// contacting us; unknown contexts show the contents.
std::string HelpPageFor(int context);
}  // namespace vimbrel
