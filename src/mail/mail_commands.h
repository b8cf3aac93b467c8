#pragma once
// Send as Email: the current picture mailed through the send-email dialog and Simple MAPI,
// or handed to Outlook as a new mail item when "UseOutlook" is on.
#include <functional>
#include <optional>
#include <string>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "workspace/image_file_commands.h"
#include "mail/email_send.h"
#include "mail/simple_mapi.h"

namespace vimbrel {

// The windows and the automation the mail command works through.
class MailUi {
public:
    virtual ~MailUi() = default;
    // TEmailSend, modal, placed over the main window; returns when it has closed.
    virtual void ShowSendDialog(TEmailSend& dialog) = 0;
    // A new Outlook mail item with the attachment, shown modally. Throws when Outlook
    // cannot be started.
    virtual void SendWithOutlook(const std::optional<std::string>& attachment) = 0;
    // The user's separators for the attachment sizes.
    virtual NumberFormat LocaleNumberFormat() = 0;
};

class MailCommands {
public:
    // `loadMapi` gives the library's table, null without Simple MAPI; it is asked only when
    // mail is sent, so the library loads on first use. `workFolder` ends with its separator.
    MailCommands(const CommandDeps& deps, MailUi& ui, ImageFileCommands& files,
                 std::function<const mapi::MapiFunctions*()> loadMapi, std::string workFolder);
    // With a table loaded already (or none).
    MailCommands(const CommandDeps& deps, MailUi& ui, ImageFileCommands& files, const mapi::MapiFunctions* mapi,
                 std::string workFolder);
    MailCommands(const MailCommands&) = delete;
    MailCommands& operator=(const MailCommands&) = delete;

    void BindTo(CommandRouter& router);
    void mnuSendMailClick();

private:
    std::optional<std::string> PictureAttachment();

    CommandDeps deps_;
    MailUi& ui_;
    ImageFileCommands& files_;
    std::function<const mapi::MapiFunctions*()> loadMapi_;
    std::string workFolder_;
};

}  // namespace vimbrel
