#pragma once
// The Help menu: the help pages beside the program, the web page and the about box.
#include "commands/command_ports.h"
#include "commands/command_router.h"

namespace vimbrel {

class HelpCommands {
public:
    explicit HelpCommands(const CommandDeps& deps) : deps_(deps) {}
    void BindTo(CommandRouter& router);

    // The page for a help context (0 the contents), with the wait cursor while the shell starts.
    void OpenHelp(int context);
    void OpenWebPage();

private:
    CommandDeps deps_;
};

}  // namespace vimbrel
