#pragma once
// Which window the active-window capture takes, and whether a console is in front.
#include <string>

#include "capture/window_id.h"

namespace vimbrel {

// Interval of the main window's Timer1, which calls TrackForegroundWindow.
inline constexpr unsigned kForegroundTimerMs = 2000;

class WindowQuery {
public:
    virtual ~WindowQuery() = default;
    virtual WindowId ForegroundWindow() const = 0;
    // The class name as GetClassNameA gives it into a buffer of bufferSize bytes, so at most
    // bufferSize - 1 characters; empty when it cannot be read.
    virtual std::string ClassName(WindowId window, int bufferSize) const = 0;
};

// The taskbar and its parts never become the target (name compared upper-cased).
bool IsTaskbarClass(const std::string& className);

// Timer1Timer: targetWindow becomes the foreground window unless that is no window, the
// program's own window or part of the taskbar.
void TrackForegroundWindow(const WindowQuery& windows, WindowId ownWindow, WindowId& targetWindow);

// A console window is in front ("ConsoleWindowClass" on NT, "tty" before, any letter case).
bool ConsoleInForeground(const WindowQuery& windows, bool isWinNT);

}  // namespace vimbrel
