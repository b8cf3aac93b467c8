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
    // Whether the handle still names a window.
    virtual bool Exists(WindowId window) const = 0;
    // Whether the window belongs to this program's own process.
    virtual bool OfThisProcess(WindowId window) const = 0;
};

// The taskbar and its parts never become the target (name compared upper-cased).
bool IsTaskbarClass(const std::string& className);

// Timer1Timer: targetWindow becomes the foreground window unless that is no window, a window
// of the program's own (the main window, the area overlay, a dialog, the preview) or part of
// the taskbar.
void TrackForegroundWindow(const WindowQuery& windows, WindowId& targetWindow);

// What the active-window capture takes: the remembered target while it still exists, else
// the window in front now when it may be a target; 0 when there is none.
WindowId ActiveCaptureTarget(const WindowQuery& windows, WindowId remembered);

// A console window is in front ("ConsoleWindowClass" on NT, "tty" before, any letter case).
bool ConsoleInForeground(const WindowQuery& windows, bool isWinNT);

}  // namespace vimbrel
