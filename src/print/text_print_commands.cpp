#include "print/text_print_commands.h"

#include "desktop/sys_hotkey.h"

namespace vimbrel {

TextPrintCommands::TextPrintCommands(const CommandDeps& deps, TextPrinter& printer) : deps_(deps), printer_(printer) {}

void TextPrintCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::PrintConsoleText, [this] { PrintConsoleText(); });
}

void TextPrintCommands::PrintConsoleText() {
    HotKeysOff hotKeysOff(deps_.hotKeys);
    const std::optional<std::string> text = printer_.ClipboardText();
    // An empty text prints nothing, and the window hides all the same.
    if (text && !text->empty()) {
        BusyCursor busy(deps_.cursor);
        std::unique_ptr<TextJob> job;
        try {
            job = printer_.OpenTextJob();
        } catch (const std::runtime_error&) {
            throw ETextPrintError();
        }
        PrintText(*text, printer_.PrintTextFont().value_or(DefaultTextFont()), *job);
    }
    deps_.view.HideMainWindow();
}

}  // namespace vimbrel
