#include "settings_ui/settings_commands.h"

#include "settings/settings.h"
#include "desktop/sys_hotkey.h"
#include "workspace/current_image.h"

namespace vimbrel {

SettingsCommands::SettingsCommands(const CommandDeps& deps, SettingsDialogWindow& window, bool outlookInstalled,
                                   StartupEntry& startup)
    : deps_(deps), window_(window), outlookInstalled_(outlookInstalled), startup_(startup) {}

void SettingsCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::Options, [this] { mnuOptionsClick(); });
}

void SettingsCommands::mnuOptionsClick() {
    HotKeysOff off(deps_.hotKeys);
    const SettingsOpening opening{deps_.commands.Checked(cmd::mnuAutoPrint), deps_.commands.Checked(cmd::mnuAutoSave),
                                  outlookInstalled_};
    SettingsDialogContext context{frmHKSet_, deps_.files,
                                  [this](int help) { deps_.router.Route(handler::HelpContext, help); }};
    const auto values = window_.ShowModal(FillSettingsDialog(deps_.flags, opening), context);
    if (values) Apply(PlanSettingsApply(deps_.flags, opening, *values, deps_.files));
    deps_.view.UpdateOptionIndicators();
}

void SettingsCommands::Apply(const std::vector<SettingsChange>& plan) {
    using Kind = SettingsChange::Kind;
    for (const SettingsChange& change : plan) {
        switch (change.kind) {
        case Kind::Set:
            ApplySettingChange(deps_.flags, change.name, change.value);
            break;
        case Kind::EnableEditorCommand: {
            // Without a picture there is nothing to send, whatever the editor.
            const bool on = change.value == "1" && deps_.image.Image1().Width() > 0;
            deps_.commands.SetEnabled(cmd::mnuEditor, on);
            deps_.commands.SetEnabled(cmd::popSendToEditor, on);
            break;
        }
        case Kind::RunAutoSaveClick:
            deps_.router.Route(handler::AutoSave);
            break;
        case Kind::RunAutoPrintClick:
            deps_.router.Route(handler::AutoPrint);
            break;
        case Kind::UnregisterHotKeys:
            UnregisterCaptureHotKeys(deps_.hotKeys);
            break;
        case Kind::RegisterHotKeys:
            RegisterCaptureHotKeys(deps_.hotKeys, deps_.flags);
            break;
        case Kind::WriteHotKeys:
            WriteHotKeyTexts(deps_.flags, deps_.store);
            break;
        case Kind::SetStartWithWindows:
            startup_.Set(change.value == "1");
            deps_.flags.StartWithWindows = change.value == "1";
            break;
        case Kind::SaveSettings:
            SaveSettings(deps_.flags, deps_.store);
            break;
        }
    }
}

}  // namespace vimbrel
