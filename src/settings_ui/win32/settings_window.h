#pragma once
// The settings dialog TfrmSettings and the hotkey editor TfrmHKSet as windows: .rc templates
// that fill and read their controls; their rules are in settings_ui/.
#include <windows.h>

#include <optional>

#include "settings_ui/hotkey_editor.h"
#include "settings_ui/settings_dialog.h"

namespace vimbrel::win32 {

// TfrmHKSet, modal over `owner`, at a screen position, client area 339 x 88.
class WinHotKeyEditor final : public HotKeyEditorWindow {
public:
    explicit WinHotKeyEditor(HWND owner) : owner_(owner) {}
    bool ShowModal(TfrmHKSet& editor, const char* caption, int left, int top) override;

private:
    HWND owner_;
};

// TfrmSettings, owned by the main window, with its icon, 15 right of and 25 below its corner.
class WinSettingsDialog final : public SettingsDialogWindow {
public:
    explicit WinSettingsDialog(HWND owner) : owner_(owner) {}
    std::optional<TfrmSettingsValues> ShowModal(const TfrmSettingsValues& filled,
                                                SettingsDialogContext& context) override;

private:
    HWND owner_;
};

}  // namespace vimbrel::win32
