#include "settings_ui/hotkey_editor.h"

namespace vimbrel {

void TfrmHKSet::LoadHotKeyText(std::string_view text) {
    const THotKeyModifiers modifiers = HotKeyTextModifiers(text);
    chkCtrl = (modifiers & hkCtrl) != 0;
    chkAlt = (modifiers & hkAlt) != 0;
    chkShift = (modifiers & hkShift) != 0;
    chkWin = (modifiers & hkWin) != 0;
    const int index = HotKeyTextIndex(text);
    cboHotkey = index >= 0 && index < kKeyNameCount ? index : -1;
}

std::string TfrmHKSet::SaveHotKeyText() const {
    THotKeyModifiers modifiers = 0;
    if (chkCtrl) modifiers |= hkCtrl;
    if (chkAlt) modifiers |= hkAlt;
    if (chkShift) modifiers |= hkShift;
    if (chkWin) modifiers |= hkWin;
    return FormatHotKeyText(modifiers, cboHotkey);
}

std::optional<std::string> EditHotKey(TfrmHKSet& editor, HotKeyEditorWindow& window, CaptureHotKey which,
                                      const std::string& text, int ownerLeft, int ownerTop) {
    editor.LoadHotKeyText(text);
    if (!window.ShowModal(editor, kHotKeyEditorCaptions[static_cast<std::size_t>(which)],
                          ownerLeft + kHotKeyEditorOffsetX, ownerTop + kHotKeyEditorOffsetY))
        return std::nullopt;
    return editor.SaveHotKeyText();
}

}  // namespace vimbrel
