#include "mail/mail_commands.h"

#include "desktop/sys_hotkey.h"
#include "workspace/current_image.h"
#include "workspace/file_names.h"

namespace vimbrel {

MailCommands::MailCommands(const CommandDeps& deps, MailUi& ui, ImageFileCommands& files,
                           const mapi::MapiFunctions* mapi, std::string workFolder)
    : MailCommands(deps, ui, files, [mapi] { return mapi; }, std::move(workFolder)) {}

MailCommands::MailCommands(const CommandDeps& deps, MailUi& ui, ImageFileCommands& files,
                           std::function<const mapi::MapiFunctions*()> loadMapi, std::string workFolder)
    : deps_(deps), ui_(ui), files_(files), loadMapi_(std::move(loadMapi)), workFolder_(std::move(workFolder)) {}

void MailCommands::BindTo(CommandRouter& router) { router.Bind(handler::SendMail, [this] { mnuSendMailClick(); }); }

// The picture goes as the file it was last saved to or opened from, else as a JPEG in the
// work folder; only while Print is enabled, that is while a picture is shown.
std::optional<std::string> MailCommands::PictureAttachment() {
    if (!deps_.commands.Enabled(cmd::Print1) || deps_.image.imgMain.Empty()) return std::nullopt;
    if (!deps_.image.CurrentFileName.empty()) return deps_.image.CurrentFileName;
    const std::string path = EmailTempPath(workFolder_);
    files_.WriteImageFile(path, true, false);
    return path;
}

void MailCommands::mnuSendMailClick() {
    HotKeysOff hotKeysOff(deps_.hotKeys);
    const std::optional<std::string> attachment = PictureAttachment();
    if (deps_.flags.UseOutlook) {
        ui_.SendWithOutlook(attachment);
        return;
    }
    // Simple MAPI loads on the first send; a library lacking an entry point is reported
    // then, once, and mail stays off.
    const mapi::MapiFunctions* mapi = nullptr;
    try {
        mapi = loadMapi_();
    } catch (const EMapiDllError& e) {
        deps_.dialogs.Warning(e.what());
    }
    if (!mapi) {
        deps_.dialogs.Warning(kMapiNotConfigured);
        // The next update of the image commands enables them again.
        deps_.commands.SetEnabled(cmd::btnEmail, false);
        deps_.commands.SetEnabled(cmd::mnuSendMail, false);
        return;
    }
    TEmail email(mapi, deps_.files);
    TEmailSend dialog(email, deps_.files, deps_.cursor, workFolder_, ui_.LocaleNumberFormat());
    if (attachment) dialog.AddAttachment(*attachment);
    dialog.controls.encryptImagesShown = true;
    dialog.cipher = deps_.flags.Cipher;
    ui_.ShowSendDialog(dialog);
}

}  // namespace vimbrel
