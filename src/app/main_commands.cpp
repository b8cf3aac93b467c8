#include "app/main_commands.h"

#include "capture/delayed_capture_commands.h"
#include "commands/standard_commands.h"
#include "markup/markup_commands.h"

namespace vimbrel {

const CommandTable& MainCommandTable() {
    // A group with controls of its own adds them here, to named places of the standard
    // table, in the order the groups are built.
    static const CommandTable table = [] {
        CommandTable t = StandardCommandTable();
        DelayedCaptureCommands::AddControls(t);
        MarkupCommands::AddControls(t);
        return t;
    }();
    return table;
}

}  // namespace vimbrel
