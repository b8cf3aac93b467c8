#pragma once
// Where the main window sends every command: menu items, accelerators, tray items, tool
// buttons, form keys, hotkeys and the private messages of a second start all arrive as a
// Handler value, and each command group binds the handlers it serves. A handler nobody
// bound is not wired: its controls stay disabled and a request for it is ignored.
#include <functional>
#include <map>

#include "commands/command_table.h"
#include "util/command_states.h"

namespace vimbrel {

class CommandRouter {
public:
    using Action = std::function<void(const CommandRef&)>;

    // The table finds the control of a command id; it outlives the router.
    explicit CommandRouter(const CommandTable& table) : table_(table) {}

    // One action per handler: binding one twice is a wiring mistake (std::logic_error).
    void Bind(Handler handler, Action action);
    void Bind(Handler handler, std::function<void()> action);

    bool Wired(Handler handler) const { return actions_.count(handler) != 0; }

    // Runs the handler's action; false when none is bound.
    bool Route(const CommandRef& command) const;
    bool Route(Handler handler, int argument = 0) const { return Route(CommandRef{{}, handler, argument}); }
    // A command control (menu item, tool button, accelerator): runs only while the
    // control's command is enabled.
    bool RouteControl(int commandId, const CommandStates& states) const;

private:
    const CommandTable& table_;
    std::map<Handler, Action> actions_;
};

}  // namespace vimbrel
