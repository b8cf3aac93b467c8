#pragma once
// Printing console text: text that a console window puts on the clipboard prints at once
// when "DosPrint" is on (the edit group's clipboard watching decides when), in PrintTextFont.
#include <memory>
#include <optional>
#include <string>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "print/text_print.h"

namespace vimbrel {

class TextPrinter {
public:
    virtual ~TextPrinter() = default;
    // A text job on the selected printer, not yet begun. Throws when the printer cannot be
    // reached.
    virtual std::unique_ptr<TextJob> OpenTextJob() = 0;
    // PrintTextFont as the printer takes it; nothing when there is none.
    virtual std::optional<TextFont> PrintTextFont() = 0;
    // The clipboard's CF_TEXT; nothing when it holds none.
    virtual std::optional<std::string> ClipboardText() = 0;
};

class TextPrintCommands {
public:
    TextPrintCommands(const CommandDeps& deps, TextPrinter& printer);
    void BindTo(CommandRouter& router);

    // The clipboard's text printed, then the main window hidden. A failed print reaches the
    // caller as ETextPrintError and leaves the window as it was.
    void PrintConsoleText();

private:
    CommandDeps deps_;
    TextPrinter& printer_;
};

}  // namespace vimbrel
