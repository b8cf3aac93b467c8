#include "commands/command_router.h"

#include <stdexcept>

namespace vimbrel {

void CommandRouter::Bind(Handler handler, Action action) {
    if (handler.Empty() || !action) throw std::logic_error("A command needs a handler and an action");
    if (!actions_.emplace(handler, std::move(action)).second)
        throw std::logic_error("A command handler is bound twice");
}

void CommandRouter::Bind(Handler handler, std::function<void()> action) {
    if (!action) throw std::logic_error("A command needs a handler and an action");
    Bind(handler, Action([run = std::move(action)](const CommandRef&) { run(); }));
}

bool CommandRouter::Route(const CommandRef& command) const {
    auto it = actions_.find(command.handler);
    if (it == actions_.end()) return false;
    it->second(command);
    return true;
}

bool CommandRouter::RouteControl(int commandId, const CommandStates& states) const {
    auto command = table_.ById(commandId);
    if (!command || !states.Enabled(command->name)) return false;
    return Route(*command);
}

}  // namespace vimbrel
