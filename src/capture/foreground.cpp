#include "capture/foreground.h"

#include <cctype>

namespace vimbrel {

namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Class names are cut at the first NUL, whatever the port hands back.
std::string CutAtNul(const std::string& s) { return s.substr(0, s.find('\0')); }

}  // namespace

bool IsTaskbarClass(const std::string& className) {
    std::string name = Upper(CutAtNul(className));
    return name == "SYSTABCONTROL32" || name.compare(0, 4, "TRAY") == 0 || name == "SHELL_TRAYWND";
}

namespace {
bool MayBeTarget(const WindowQuery& windows, WindowId w) {
    return w != 0 && !windows.OfThisProcess(w) && !IsTaskbarClass(windows.ClassName(w, 63));
}
}  // namespace

void TrackForegroundWindow(const WindowQuery& windows, WindowId& targetWindow) {
    WindowId w = windows.ForegroundWindow();
    if (MayBeTarget(windows, w)) targetWindow = w;
}

WindowId ActiveCaptureTarget(const WindowQuery& windows, WindowId remembered) {
    if (remembered != 0 && windows.Exists(remembered) && !windows.OfThisProcess(remembered)) return remembered;
    WindowId now = windows.ForegroundWindow();
    return MayBeTarget(windows, now) ? now : 0;
}

bool ConsoleInForeground(const WindowQuery& windows, bool isWinNT) {
    WindowId w = windows.ForegroundWindow();
    if (w == 0) return false;
    std::string name = Upper(CutAtNul(windows.ClassName(w, 255)));
    return name == (isWinNT ? "CONSOLEWINDOWCLASS" : "TTY");
}

}  // namespace vimbrel
