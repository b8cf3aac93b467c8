#include "capture/win32/snap_windows.h"

#include <vector>

#include "util/win32/rect_conversions.h"

namespace vimbrel::win32 {
namespace {

// Controls nest rarely deeper than this; deeper ones are taken with their parent.
constexpr int kMaxDepth = 4;

bool Offered(HWND window) {
    if (!::IsWindowVisible(window) || ::IsIconic(window)) return false;
    RECT r;
    return ::GetWindowRect(window, &r) && r.right > r.left && r.bottom > r.top;
}

SnapWindow Snapped(HWND window, Point origin, int depth) {
    RECT r{};
    ::GetWindowRect(window, &r);
    SnapWindow snap{RelativeTo(FromRECT(r), origin), {}};
    if (depth < kMaxDepth)
        for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            if (Offered(child)) snap.children.push_back(Snapped(child, origin, depth + 1));
    return snap;
}

}  // namespace

WindowSnap SnapWindowsOnScreen(Point origin) {
    const DWORD self = ::GetCurrentProcessId();
    const HWND shell = ::GetShellWindow(), desktop = ::GetDesktopWindow();
    std::vector<SnapWindow> windows;
    // Top-level windows come in their order on the screen, the top one first.
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (w == shell || w == desktop || !Offered(w)) continue;
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        if (process == self) continue;
        windows.push_back(Snapped(w, origin, 0));
    }
    return WindowSnap(std::move(windows));
}

}  // namespace vimbrel::win32
