#pragma once
// The main window's own controls at its screen density: the tool bar on top, the status
// bar with its four panels at the bottom, and the picture's scroll box between them.
#include <windows.h>

#include <string>

#include "app/main_form_rules.h"
#include "commands/command_table.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {

class MainFormControls {
public:
    // Makes the tool bar and the status bar on `window` at the window's density; the scroll
    // box is made by its owner. The status bar's font is `baseFont` at the density's size.
    // The tool bar's buttons are the table's; the table outlives the controls.
    void Create(HWND window, HWND scrollBox, HFONT baseFont, const CommandTable& table);
    bool Created() const { return statusBar_ != nullptr; }

    const MainFormMetrics& Metrics() const { return metrics_; }
    HWND ToolBar() const { return toolBar_; }
    HWND ScrollBox() const { return scrollBox_; }

    // A column of controls left of the scroll box, `width` wide; none until set.
    void SetSideBar(HWND bar, int width);

    // Places the bars at the edges of the client area and the scroll box between them.
    void Layout();
    // Panels 1 to 3 keep their widths; panel 0 takes the rest.
    void SizeStatusPanels();
    // Panels 1 and 2 show their text centred.
    void SetStatusText(int panel, const std::string& text);

    // The window went to a screen of another density: the lengths, the status font and the
    // tool bar follow (its pictures come in fixed sizes, so a new bar replaces the old one).
    // The caller puts the commands' states on the new bar and lays the controls out again.
    void DensityChanged(int dpi);

private:
    void SetStatusFont();

    HWND window_ = nullptr;
    const CommandTable* table_ = nullptr;
    HWND toolBar_ = nullptr, statusBar_ = nullptr, scrollBox_ = nullptr, sideBar_ = nullptr;
    int sideBarWidth_ = 0;
    HFONT baseFont_ = nullptr;
    UniqueFont statusFont_;
    MainFormMetrics metrics_ = MainFormMetricsAt(kDesignDpi);
};

}  // namespace vimbrel::win32
