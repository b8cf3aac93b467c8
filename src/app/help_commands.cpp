#include "app/help_commands.h"

#include "app/main_form_rules.h"

namespace vimbrel {

namespace {
constexpr int kHelpContents = 0;
constexpr int kContactPage = 500;
}  // namespace

void HelpCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::HelpContents, [this] { OpenHelp(kHelpContents); });
    router.Bind(handler::HelpContext, [this](const CommandRef& ref) { OpenHelp(ref.argument); });
    router.Bind(handler::WebLink, [this] { OpenWebPage(); });
    router.Bind(handler::WebLink2, [this] { OpenWebPage(); });
    router.Bind(handler::About, [this] { deps_.dialogs.ShowAbout(); });
}

void HelpCommands::OpenHelp(int context) {
    BusyCursor busy(deps_.cursor);
    deps_.shell.OpenWithSystem(deps_.programFolder + HelpPageFor(context));
}

void HelpCommands::OpenWebPage() {
    // The program's web page travels with it, as the contact page.
    BusyCursor busy(deps_.cursor);
    deps_.shell.OpenWithSystem(deps_.programFolder + HelpPageFor(kContactPage));
}

}  // namespace vimbrel
