// Start and idle memory: Vimbrel started hidden (no argument) beside the floor, a bare tray
// program (bare_tray.exe: a hidden window, a tray icon, a message loop), started the same
// way from here, in alternating rounds. For each start it reports
//   - window: from CreateProcess to the top-level window of the program's class existing
//     ("TfrmCaptureForm", "BareTray"), looked for every millisecond;
//   - idle: from CreateProcess to the program waiting for input in its message loop
//     (WaitForInputIdle), that is start-up finished, tray icon added;
//   - committed memory once start has settled (1 s after idle): PrivateUsage from
//     GetProcessMemoryInfo. Under Wine that is the Linux process's private anonymous memory
//     (RssAnon plus swap, read by the Wine server from /proc/PID/status).
// Then, in one more Vimbrel, the same figure after 10 and after 100 full-screen captures with
// auto save to bitmap files (message 0x0401, which returns once the capture has ended).
// Run under Wine on the test display by bench/start_memory.sh.
//   start_memory [--quick] [--rounds R] [--trace] [--exe PATH]
// --trace: only Vimbrel, beside a log viewer; prints its debug lines (the start's step trace).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"

#include "log_viewer.h"
#include "vimbrel_process.h"

using namespace e2e;
using bench::Clock;
using bench::Median;
using bench::Ms;

namespace {

std::string BuildFolder() {
    std::string unix = VIMBREL_BUILD_DIR;
    std::replace(unix.begin(), unix.end(), '/', '\\');
    return "Z:" + unix + "\\";
}

standins::LogViewer* g_viewer = nullptr;

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

void PrintDebugLines() {
    if (!g_viewer) return;
    for (const auto& r : g_viewer->received)
        if (r.bytes.size() >= 8 && r.bytes[4] == 1) std::printf("  %s\n", r.Line().c_str());
    g_viewer->received.clear();
}

struct Start {
    double window = -1, idle = -1;
    double privateMb = 0, workingSetMb = 0;
};

double Mb(SIZE_T bytes) { return double(bytes) / (1024.0 * 1024.0); }

void Memory(HANDLE process, Start& s) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        // Wine fills PagefileUsage (the same figure as PrivateUsage on Windows) and may leave
        // PrivateUsage 0.
        s.privateMb = Mb(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
        s.workingSetMb = Mb(counters.WorkingSetSize);
    }
}

// Starts the program and times it; the window found is left in `window`.
bool Launch(const std::string& exe, const std::string& folder, const char* windowClass, PROCESS_INFORMATION& pi,
            HWND& window, Start& s) {
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    const auto start = Clock::now();
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return false;
    window = nullptr;
    while (Ms(start) < 30000 && (s.window < 0 || s.idle < 0)) {
        if (g_viewer) Pump();
        if (s.window < 0 && (window = FindProcessWindow(pi.dwProcessId, windowClass, ""))) s.window = Ms(start);
        if (s.idle < 0 && ::WaitForInputIdle(pi.hProcess, 0) == 0) s.idle = Ms(start);
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) return false;
        ::Sleep(1);
    }
    if (s.window < 0 || s.idle < 0) return false;
    for (int i = 0; i < 100; ++i) {
        if (g_viewer) Pump();
        ::Sleep(10);
    }
    Memory(pi.hProcess, s);
    return true;
}

void Close(PROCESS_INFORMATION& pi) {
    ::WaitForSingleObject(pi.hProcess, 15000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

bool RunFloor(Start& s) {
    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
    const bool ok = Launch(BuildFolder() + "bench\\win32\\bare_tray.exe", BuildFolder(), "BareTray", pi, window, s);
    if (window) ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (pi.hProcess) {
        if (!window) ::TerminateProcess(pi.hProcess, 1);
        Close(pi);
    }
    return ok;
}

void Settings(const std::string& folder) {
    ClearSettings();
    WriteSetting("CheckClose", "N");
    WriteSetting("PopUp", "0");
    WriteSetting("InclMouse", "0");
    WriteSetting("AutoSave", "On");
    WriteSetting("AutoExt", ".bmp");
    WriteSetting("AutoSavePath", folder.substr(0, folder.size() - 1));
}

void ExitVimbrel(PROCESS_INFORMATION& pi, HWND main) {
    const UINT exitCommand = main ? FindMenuCommand(main, "E&xit") : 0;
    if (exitCommand) ::PostMessageA(main, WM_COMMAND, exitCommand, 0);
    if (::WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
    Close(pi);
}

bool RunVimbrel(const std::string& exe, Start& s, std::vector<double>* afterCaptures, bool askMail = false) {
    VimbrelProcess app("bench-start");
    if (!exe.empty()) ::CopyFileA(exe.c_str(), app.ExePath().c_str(), FALSE);
    Settings(app.Folder());
    PROCESS_INFORMATION pi{};
    HWND main = nullptr;
    bool ok = Launch(app.ExePath(), app.Folder(), "TfrmCaptureForm", pi, main, s);
    if (ok && afterCaptures) {
        for (int i = 1; i <= 100; ++i) {
            ::SendMessageA(main, 0x0401, 0, 0);
            char name[32];
            std::snprintf(name, sizeof name, "Vimbrel-%05d.bmp", i);
            ::DeleteFileA((app.Folder() + name).c_str());
            if (i == 10 || i == 100) {
                ::Sleep(1000);
                Start m;
                Memory(pi.hProcess, m);
                afterCaptures->push_back(m.privateMb);
            }
        }
    }
    if (ok && askMail) {
        // A capture, then Send as Email: Simple MAPI loads on that first use.
        ::SendMessageA(main, 0x0401, 0, 0);
        if (const UINT mail = FindMenuCommand(main, "Send as Email")) ::PostMessageA(main, WM_COMMAND, mail, 0);
        for (int i = 0; i < 300; ++i) {
            Pump();
            ::Sleep(10);
        }
        // Whatever the mail asked (a dialog, a message) is not answered: the scratch
        // program just ends.
        ::TerminateProcess(pi.hProcess, 0);
        Close(pi);
        return ok;
    }
    if (pi.hProcess) ExitVimbrel(pi, main);
    return ok;
}

template <class F>
std::vector<double> Field(const std::vector<Start>& v, F f) {
    std::vector<double> out;
    for (const Start& s : v) out.push_back(f(s));
    return out;
}

double Best(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    std::string exe;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quick")
            rounds = 3;
        else if (a == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (a == "--trace")
            trace = true;
        else if (a == "--exe" && i + 1 < argc)
            exe = argv[++i];
        else {
            std::printf("usage: start_memory [--quick] [--rounds R] [--trace] [--exe PATH]\n");
            return 2;
        }
    }
    if (trace) {
        // The start's step trace and what each piece loaded on first use costs, from the
        // program's debug lines: a start, one capture, then mail and printing asked for.
        standins::LogViewer viewer("TKXDataLoggerBench");
        g_viewer = &viewer;
        for (int r = 0; r < rounds; ++r) {
            Start v;
            std::printf("start %d:\n", r + 1);
            if (!RunVimbrel(exe, v, nullptr, r == rounds - 1)) return 1;
            PrintDebugLines();
            std::printf("  (window after %.1f ms, idle after %.1f ms, private %.1f MB, from outside)\n", v.window,
                        v.idle, v.privateMb);
        }
        return 0;
    }
    std::vector<Start> floor, vimbrel;
    for (int r = 0; r < rounds; ++r) {
        Start f, v;
        if (!RunFloor(f)) {
            std::printf("the bare tray program did not start\n");
            return 1;
        }
        if (!RunVimbrel(exe, v, nullptr)) {
            std::printf("Vimbrel did not start\n");
            return 1;
        }
        floor.push_back(f);
        vimbrel.push_back(v);
    }
    auto window = [](const Start& s) { return s.window; };
    auto idle = [](const Start& s) { return s.idle; };
    auto priv = [](const Start& s) { return s.privateMb; };
    auto ws = [](const Start& s) { return s.workingSetMb; };
    std::printf("%d rounds, best and median\n", rounds);
    std::printf("start to window   floor (bare tray) best %6.1f median %6.1f ms | Vimbrel hidden best %6.1f median %6.1f ms | ratio best %.2fx median %.2fx\n",
                Best(Field(floor, window)), Median(Field(floor, window)), Best(Field(vimbrel, window)),
                Median(Field(vimbrel, window)), Best(Field(vimbrel, window)) / Best(Field(floor, window)),
                Median(Field(vimbrel, window)) / Median(Field(floor, window)));
    std::printf("start to idle     floor (bare tray) best %6.1f median %6.1f ms | Vimbrel hidden best %6.1f median %6.1f ms | ratio best %.2fx median %.2fx\n",
                Best(Field(floor, idle)), Median(Field(floor, idle)), Best(Field(vimbrel, idle)),
                Median(Field(vimbrel, idle)), Best(Field(vimbrel, idle)) / Best(Field(floor, idle)),
                Median(Field(vimbrel, idle)) / Median(Field(floor, idle)));
    const double fp = Median(Field(floor, priv)), vp = Median(Field(vimbrel, priv));
    std::printf("idle committed    floor %.1f MB | Vimbrel %.1f MB | difference %+.1f MB (PrivateUsage, median)\n", fp,
                vp, vp - fp);
    std::printf("idle working set  floor %.1f MB | Vimbrel %.1f MB | difference %+.1f MB (median)\n",
                Median(Field(floor, ws)), Median(Field(vimbrel, ws)),
                Median(Field(vimbrel, ws)) - Median(Field(floor, ws)));
    Start once;
    std::vector<double> after;
    if (!RunVimbrel(exe, once, &after) || after.size() != 2) {
        std::printf("the captures did not run\n");
        return 1;
    }
    std::printf("captures          after 10: %.1f MB | after 100: %.1f MB | difference %+.1f MB (PrivateUsage)\n",
                after[0], after[1], after[1] - after[0]);
    return 0;
}
