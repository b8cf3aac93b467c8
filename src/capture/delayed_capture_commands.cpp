#include "capture/delayed_capture_commands.h"

#include <array>
#include <string>

#include "desktop/sys_hotkey.h"

namespace vimbrel {
namespace {

constexpr std::array<int, 3> kDelays{3, 5, 10};

struct Controls {
    CommandName submenu, kinds[3], delays[3];
};
constexpr Controls kMenu{cmd::mnuDelayedCapture,
                         {cmd::mnuDelayScreen, cmd::mnuDelayActive, cmd::mnuDelayArea},
                         {cmd::mnuDelay3, cmd::mnuDelay5, cmd::mnuDelay10}};
constexpr Controls kTray{cmd::trayDelayedCapture,
                         {cmd::trayDelayScreen, cmd::trayDelayActive, cmd::trayDelayArea},
                         {cmd::trayDelay3, cmd::trayDelay5, cmd::trayDelay10}};

MenuItem Submenu(const Controls& c) {
    auto item = [](CommandName name, std::string caption, Handler h, int argument) {
        return MenuItem{name, std::move(caption), {}, h, argument, false, {}};
    };
    MenuItem sub = item(c.submenu, "Capture after a &Delay", handler::None, 0);
    sub.children = {item(c.kinds[0], "&Full Screen", handler::DelayedCapture, DelayedCaptureCommands::FullScreen),
                    item(c.kinds[1], "&Active Window", handler::DelayedCapture, DelayedCaptureCommands::ActiveWindow),
                    item(c.kinds[2], "A&rea", handler::DelayedCapture, DelayedCaptureCommands::Area),
                    MenuItem{},
                    item(c.delays[0], "&3 Seconds", handler::CaptureDelay, 3),
                    item(c.delays[1], "&5 Seconds", handler::CaptureDelay, 5),
                    item(c.delays[2], "1&0 Seconds", handler::CaptureDelay, 10)};
    return sub;
}

bool Offered(int seconds) {
    for (int d : kDelays)
        if (d == seconds) return true;
    return false;
}

}  // namespace

std::string CountdownText(int kind, int secondsLeft) {
    static const char* const kinds[] = {"Full screen", "Active window", "Area"};
    return std::string(kinds[kind < 0 || kind > 2 ? 0 : kind]) + " capture in " + std::to_string(secondsLeft) +
           (secondsLeft == 1 ? " second" : " seconds");
}

void DelayedCaptureCommands::AddControls(CommandTable& table) {
    table.AddItem(Menu::Main, cmd::mnuOptions, Submenu(kMenu));
    table.AddItem(Menu::Main, cmd::mnuOptions, MenuItem{});
    table.AddItem(Menu::Tray, cmd::mnuCaptureAreaNow, Submenu(kTray));
}

DelayedCaptureCommands::DelayedCaptureCommands(const CommandDeps& deps, CaptureCommands& captures, SecondTimer& timer,
                                               CountdownHint& hint)
    : deps_(deps), captures_(captures), timer_(timer), hint_(hint) {
    const std::string stored = deps_.store.Read("CaptureDelay");
    for (int d : kDelays)
        if (stored == std::to_string(d)) delay_ = d;
    ShowState();
}

void DelayedCaptureCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::DelayedCapture, [this](const CommandRef& ref) { Choose(ref.argument); });
    router.Bind(handler::CaptureDelay, [this](const CommandRef& ref) { SetDelay(ref.argument); });
}

void DelayedCaptureCommands::ShowState() {
    for (const Controls* c : {&kMenu, &kTray}) {
        for (int k = 0; k < 3; ++k) deps_.commands.SetChecked(c->kinds[k], kind_ == k);
        for (std::size_t d = 0; d < kDelays.size(); ++d) deps_.commands.SetChecked(c->delays[d], kDelays[d] == delay_);
    }
}

void DelayedCaptureCommands::SetDelay(int seconds) {
    if (!Offered(seconds)) return;
    delay_ = seconds;
    deps_.store.Write("CaptureDelay", std::to_string(seconds));
    ShowState();
}

void DelayedCaptureCommands::Stop() {
    timer_.Stop();
    kind_ = -1;
    left_ = 0;
    ShowState();
    deps_.view.UpdateOptionIndicators();  // the tray's own hint again
}

void DelayedCaptureCommands::Choose(int kind) {
    if (kind < FullScreen || kind > Area) return;
    const bool same = kind_ == kind;
    if (Counting()) Stop();
    if (same) return;
    kind_ = kind;
    left_ = delay_;
    ShowState();
    hint_.ShowHint(CountdownText(kind_, left_));
    timer_.Start([this] { Tick(); });
}

void DelayedCaptureCommands::Tick() {
    if (!Counting()) return;
    if (left_ > 1) {
        hint_.ShowHint(CountdownText(kind_, --left_));
        return;
    }
    // A capture, a dialog or printing under way holds the hotkeys off: wait until it ends
    // rather than start a capture inside it.
    if (!deps_.hotKeys.Active()) return;
    const int kind = kind_;
    Stop();
    // As a hotkey capture runs: no second capture can start under it.
    HotKeysOff hotKeysOff(deps_.hotKeys);
    switch (kind) {
    case FullScreen: captures_.CaptureFullScreen(); break;
    case ActiveWindow: captures_.CaptureActiveWindow(); break;
    case Area: captures_.btnSelectClick(); break;
    }
}

}  // namespace vimbrel
