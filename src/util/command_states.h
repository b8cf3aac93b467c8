#pragma once
// Enabled, checked and visible state of every command of a window, keyed by the
// command's name ("Print1", "mnuUndo", "zmi03"). The window's logic asks and changes
// the state here; the view mirrors each change through the listener.
#include <functional>
#include <map>
#include <string>

namespace vimbrel {

struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool visible = true;
};

class CommandStates {
public:
    using Listener = std::function<void(const std::string& name, const CommandState&)>;

    void SetListener(Listener listener) { listener_ = std::move(listener); }

    bool Enabled(const std::string& name) const { return Get(name).enabled; }
    bool Checked(const std::string& name) const { return Get(name).checked; }
    bool Visible(const std::string& name) const { return Get(name).visible; }

    void SetEnabled(const std::string& name, bool on) { Change(name, [on](CommandState& s) { s.enabled = on; }); }
    void SetChecked(const std::string& name, bool on) { Change(name, [on](CommandState& s) { s.checked = on; }); }
    void SetVisible(const std::string& name, bool on) { Change(name, [on](CommandState& s) { s.visible = on; }); }

    // A command never mentioned is enabled, unchecked and visible.
    CommandState Get(const std::string& name) const {
        auto it = states_.find(name);
        return it == states_.end() ? CommandState{} : it->second;
    }

private:
    template <class F>
    void Change(const std::string& name, F&& change) {
        CommandState& s = states_[name];
        CommandState before = s;
        change(s);
        if (listener_ && (before.enabled != s.enabled || before.checked != s.checked || before.visible != s.visible))
            listener_(name, s);
    }

    std::map<std::string, CommandState> states_;
    Listener listener_;
};

}  // namespace vimbrel
