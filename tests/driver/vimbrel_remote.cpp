// vimbrel-remote: works a running Vimbrel from outside, for the run command's headless
// demonstration. Each command prints what it saw and exits 0 on success.
//   vimbrel-remote wait-window     wait until the main window exists
//   vimbrel-remote report          print whether the window is shown, its caption and place
//   vimbrel-remote exit            choose File, Exit and answer the question with Yes
#include <cstdio>
#include <string>

#include "vimbrel_process.h"

using namespace e2e;

namespace {

HWND MainWindowNow() {
    auto windows = TopWindowsOfClass("TfrmCaptureForm");
    return windows.empty() ? nullptr : windows.front();
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait-window") {
        HWND w = nullptr;
        bool found = WaitFor([&] { return (w = MainWindowNow()) != nullptr; }, 30s);
        std::printf(found ? "Vimbrel is running in the notification area.\n" : "Vimbrel's window did not appear.\n");
        return found ? 0 : 1;
    }
    HWND w = MainWindowNow();
    if (!w) {
        std::printf("Vimbrel is not running.\n");
        return 1;
    }
    if (command == "report") {
        WaitFor([&] { return ::IsWindowVisible(w) != FALSE; }, 5s);
        char caption[256] = {};
        ::GetWindowTextA(w, caption, sizeof caption);
        RECT r;
        ::GetWindowRect(w, &r);
        std::printf("Main window \"%s\" is %s at %ld,%ld, %ld x %ld.\n", caption,
                    ::IsWindowVisible(w) ? "shown" : "hidden", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == "exit") {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        UINT id = FindMenuCommand(w, "E&xit");
        if (!id || !::PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, 0), 0)) return 1;
        bool closed = WaitFor([&] {
            if (!::IsWindow(w)) return true;
            if (HWND dlg = FindProcessWindow(pid, "#32770", "  Vimbrel   "))
                if (HWND yes = FindChildByText(dlg, "&Yes")) ::SendMessageA(yes, BM_CLICK, 0, 0);
            return false;
        }, 20s);
        std::printf(closed ? "Vimbrel was asked to exit and closed.\n" : "Vimbrel did not close.\n");
        return closed ? 0 : 1;
    }
    std::printf("usage: vimbrel-remote wait-window | report | exit\n");
    return 2;
}
