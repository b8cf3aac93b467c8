#pragma once
// Enabled, checked and visible state of every command of a window, keyed by the
// command's name (cmd::Print1, cmd::mnuUndo, cmd::zmi03). The window's logic asks and
// changes the state here; the view mirrors each change through the listener.
#include <functional>
#include <map>

#include "util/command_names.h"

namespace vimbrel {

struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool visible = true;
};

class CommandStates {
public:
    using Listener = std::function<void(CommandName name, const CommandState&)>;

    void SetListener(Listener listener) { listener_ = std::move(listener); }

    bool Enabled(CommandName name) const { return Get(name).enabled; }
    bool Checked(CommandName name) const { return Get(name).checked; }
    bool Visible(CommandName name) const { return Get(name).visible; }

    void SetEnabled(CommandName name, bool on) { Change(name, [on](CommandState& s) { s.enabled = on; }); }
    void SetChecked(CommandName name, bool on) { Change(name, [on](CommandState& s) { s.checked = on; }); }
    void SetVisible(CommandName name, bool on) { Change(name, [on](CommandState& s) { s.visible = on; }); }

    // A command never mentioned is enabled, unchecked and visible.
    CommandState Get(CommandName name) const {
        auto it = states_.find(name);
        return it == states_.end() ? CommandState{} : it->second;
    }

private:
    template <class F>
    void Change(CommandName name, F&& change) {
        CommandState& s = states_[name];
        CommandState before = s;
        change(s);
        if (listener_ && (before.enabled != s.enabled || before.checked != s.checked || before.visible != s.visible))
            listener_(name, s);
    }

    std::map<CommandName, CommandState> states_;
    Listener listener_;
};

}  // namespace vimbrel
