#pragma once
// Send as Email on Windows: the TEmailSend window, Outlook through automation, the locale's
// number separators.
#include <windows.h>

#include <string>

#include "mail/mail_commands.h"

namespace vimbrel::win32 {

// TEmailSend, modal over `owner`, placed 15 pixels right of and below its top-left corner.
void ShowEmailSendDialog(HWND owner, const std::string& appTitle, TEmailSend& dialog);

class WinMailUi final : public MailUi {
public:
    WinMailUi(HWND owner, std::string appTitle) : owner_(owner), appTitle_(std::move(appTitle)) {}

    void ShowSendDialog(TEmailSend& dialog) override { ShowEmailSendDialog(owner_, appTitle_, dialog); }
    void SendWithOutlook(const std::optional<std::string>& attachment) override;
    NumberFormat LocaleNumberFormat() override;

private:
    HWND owner_;
    std::string appTitle_;
};

}  // namespace vimbrel::win32
