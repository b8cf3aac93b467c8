#pragma once
// "Option Settings": the settings dialog with the hotkey editor, and applying what the user
// confirmed, in order, through the same handlers the menus use.
#include <vector>

#include "capture/capture_hotkeys.h"
#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "settings/settings_ports.h"
#include "settings_ui/hotkey_editor.h"
#include "settings_ui/settings_dialog.h"

namespace vimbrel {

class SettingsCommands {
public:
    // outlookInstalled holds for the run. A newly chosen hotkey the system refuses is named
    // by the hotkeys' watch when they are switched on again (WatchCaptureHotKeys).
    SettingsCommands(const CommandDeps& deps, SettingsDialogWindow& window, bool outlookInstalled,
                     StartupEntry& startup);
    void BindTo(CommandRouter& router);

    // The whole command: hotkeys off, the dialog, the changes on OK, hotkeys on again.
    void mnuOptionsClick();
    void Apply(const std::vector<SettingsChange>& plan);

private:
    CommandDeps deps_;
    SettingsDialogWindow& window_;
    bool outlookInstalled_;
    StartupEntry& startup_;
    TfrmHKSet frmHKSet_;
};

}  // namespace vimbrel
