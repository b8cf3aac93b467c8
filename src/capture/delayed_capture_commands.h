#pragma once
// Capture after a delay: the whole screen, the active window or an area, 3, 5 or 10 seconds
// after the user chose it, from the Options menu or the tray menu. The tray icon's hint
// counts the seconds down, and choosing the same capture again calls it off.
#include <functional>
#include <string>

#include "capture/capture_commands.h"
#include "commands/command_router.h"
#include "commands/command_table.h"

namespace vimbrel {

namespace cmd {
VIMBREL_COMMAND(mnuDelayedCapture);
VIMBREL_COMMAND(mnuDelayScreen);
VIMBREL_COMMAND(mnuDelayActive);
VIMBREL_COMMAND(mnuDelayArea);
VIMBREL_COMMAND(mnuDelay3);
VIMBREL_COMMAND(mnuDelay5);
VIMBREL_COMMAND(mnuDelay10);
VIMBREL_COMMAND(trayDelayedCapture);
VIMBREL_COMMAND(trayDelayScreen);
VIMBREL_COMMAND(trayDelayActive);
VIMBREL_COMMAND(trayDelayArea);
VIMBREL_COMMAND(trayDelay3);
VIMBREL_COMMAND(trayDelay5);
VIMBREL_COMMAND(trayDelay10);
}  // namespace cmd

namespace handler {
VIMBREL_HANDLER(DelayedCapture);  // argument: 0 full screen, 1 active window, 2 area
VIMBREL_HANDLER(CaptureDelay);    // argument: the delay in seconds
}  // namespace handler

// Calls back once a second while started.
class SecondTimer {
public:
    virtual ~SecondTimer() = default;
    virtual void Start(std::function<void()> tick) = 0;
    virtual void Stop() = 0;
};

// The tray icon's hint while a countdown runs; the option indicators put it back after.
class CountdownHint {
public:
    virtual ~CountdownHint() = default;
    virtual void ShowHint(const std::string& text) = 0;
};

class DelayedCaptureCommands {
public:
    enum Kind { FullScreen = 0, ActiveWindow = 1, Area = 2 };
    static constexpr int kDefaultDelay = 5;

    // The menu items: a submenu after "Option Settings" and one after "Capture Area Now".
    static void AddControls(CommandTable& table);

    // Reads the delay from the settings ("CaptureDelay").
    DelayedCaptureCommands(const CommandDeps& deps, CaptureCommands& captures, SecondTimer& timer, CountdownHint& hint);
    void BindTo(CommandRouter& router);

    // Starts the countdown for a capture of that kind; the one already counting is called
    // off, and choosing it again while it counts calls it off only.
    void Choose(int kind);
    // 3, 5 or 10 seconds, remembered in the settings; another value is not taken.
    void SetDelay(int seconds);
    int Delay() const { return delay_; }
    bool Counting() const { return kind_ >= 0; }
    int SecondsLeft() const { return left_; }

    // One second went by.
    void Tick();

private:
    void Stop();
    void ShowState();

    CommandDeps deps_;
    CaptureCommands& captures_;
    SecondTimer& timer_;
    CountdownHint& hint_;
    int delay_ = kDefaultDelay;
    int kind_ = -1;  // counting down for this kind; -1 when nothing counts
    int left_ = 0;
};

// "Full screen capture in 3 seconds"; "... in 1 second".
std::string CountdownText(int kind, int secondsLeft);

}  // namespace vimbrel
