#pragma once
// TfrmHKSet: the small dialog in which the user picks one hotkey, four modifier check boxes
// and the list of key names. Its state lives here; a window shows and edits it.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "desktop/hotkey_text.h"

namespace vimbrel {

// Which of the three capture hotkeys is edited: the settings' order, the hotkey ids.
enum class CaptureHotKey { Full = 0, Active = 1, Area = 2 };
inline constexpr int kCaptureHotKeyCount = 3;

// The editor's caption for each hotkey.
inline constexpr std::array<const char*, kCaptureHotKeyCount> kHotKeyEditorCaptions = {
    "Full Screen Capture Hot Key", "Active Screen Capture Hot Key", "Area Capture Hot Key"};
// The editor opens this far right of and below the settings dialog's top-left corner.
inline constexpr int kHotKeyEditorOffsetX = 40;
inline constexpr int kHotKeyEditorOffsetY = 120;

class TfrmHKSet {
public:
    bool chkCtrl = false, chkAlt = false, chkShift = false, chkWin = false;
    // Item of cboHotkey, the row of the key-name table; -1 when no item is selected.
    int cboHotkey = -1;

    // Each check box from whether its word occurs in the text; the key's row selected, or
    // none for an index outside the table.
    void LoadHotKeyText(std::string_view text);
    // The text of the checked modifiers and the selected row ('#-1' with no key).
    std::string SaveHotKeyText() const;
};

// Shows the editor modally for one hotkey, placed and captioned for it; false on Cancel.
// The window keeps the editor's state in step with its controls.
class HotKeyEditorWindow {
public:
    virtual ~HotKeyEditorWindow() = default;
    virtual bool ShowModal(TfrmHKSet& editor, const char* caption, int left, int top) = 0;
};

// One use of the editor, as each "Change..." button makes it: the new text on OK.
std::optional<std::string> EditHotKey(TfrmHKSet& editor, HotKeyEditorWindow& window, CaptureHotKey which,
                                      const std::string& text, int ownerLeft, int ownerTop);

}  // namespace vimbrel
