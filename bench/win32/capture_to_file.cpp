// Hotkey to a whole saved file: Vimbrel from Print Screen to a complete numbered file (BMP,
// PNG or JPEG), beside the floor, a bare program that holds Print Screen and on each press
// does one BitBlt and writes a 24-bit bitmap (bare_capture.exe). Both are timed from outside
// the same way: from the key press (SendInput) to the file being there under its name with
// its whole size (for a bitmap the size is known in advance and waited for; Vimbrel's PNG
// and JPEG files appear under their name only once complete, as it renames them into
// place). Only one program can hold Print Screen, so the two run in alternating blocks of
// presses, each in a fresh process. Run under Wine on the test display by
// bench/capture_to_file.sh.
//   capture_to_file [--quick] [--rounds R] [--presses N] [--trace] [--exe PATH] [bmp|png|jpeg]...
// --trace: Vimbrel runs once beside a log viewer, and the debug lines of its step trace are
// printed instead of timings (the lines are sent after each capture, so they cost the
// capture nothing, but the viewer's answers do cost the program some time).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
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

// The build folder (a Unix path) as Wine shows it, on drive Z:.
std::string BuildFolder() {
    std::string unix = VIMBREL_BUILD_DIR;
    std::replace(unix.begin(), unix.end(), '/', '\\');
    return "Z:" + unix + "\\";
}

struct Options {
    int rounds = 3;
    int presses = 5;
    bool trace = false;
    std::string exe;
    std::vector<std::string> formats;
};

void PressPrintScreen() {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = VK_SNAPSHOT;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

// Lets a log viewer of this process take what it is sent.
void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

// The file under its name with `size` bytes (any size above 0 when size is 0).
bool Whole(const std::string& path, ULONGLONG size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    const ULONGLONG have = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size ? have == size : have > 0;
}

// Presses Print Screen and waits for the file: milliseconds, or -1 after 20 s.
double PressAndWait(const std::string& path, ULONGLONG size, bool pump) {
    const auto start = Clock::now();
    PressPrintScreen();
    // Looked at every millisecond, so the wait adds no more than that to either time.
    while (!Whole(path, size)) {
        if (Ms(start) > 20000) return -1;
        if (pump) Pump();
        ::Sleep(1);
    }
    return Ms(start);
}

void Settle(bool pump) {
    const auto start = Clock::now();
    while (Ms(start) < 200) {
        if (pump) Pump();
        ::Sleep(5);
    }
}

ULONGLONG BmpSize(int bitsPerPixel) {
    const ULONGLONG w = ULONGLONG(::GetSystemMetrics(SM_CXSCREEN)), h = ULONGLONG(::GetSystemMetrics(SM_CYSCREEN));
    return 54 + ((w * ULONGLONG(bitsPerPixel) / 8 + 3) & ~3ull) * h;
}

int ScreenDepth() {
    HDC screen = ::GetDC(nullptr);
    const int bits = ::GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
    return bits == 32 ? 32 : 24;
}

bool RunFloor(const std::string& folder, int presses, std::vector<double>& times) {
    // No backslash before the closing quote, which would escape it.
    std::string command = "\"" + BuildFolder() + "bench\\win32\\bare_capture.exe\" \"" +
                          folder.substr(0, folder.size() - 1) + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("bare_capture did not start\n");
        return false;
    }
    bool ok = WaitFor([] { return !CombinationFree(0, VK_SNAPSHOT); }, 20s);
    for (int i = 1; ok && i <= presses; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "floor-%05d.bmp", i);
        const std::string file = folder + name;
        const double t = PressAndWait(file, BmpSize(24), false);
        if (t < 0) {
            std::printf("no file %s\n", file.c_str());
            ok = false;
            break;
        }
        times.push_back(t);
        Settle(false);
        ::DeleteFileA(file.c_str());
    }
    ::PostThreadMessageA(pi.dwThreadId, WM_QUIT, 0, 0);
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    WaitFor([] { return CombinationFree(0, VK_SNAPSHOT); }, 10s);
    return ok;
}

std::string Extension(const std::string& format) { return format == "jpeg" ? ".jpg" : "." + format; }

// One block of presses in a fresh Vimbrel; the numbered names go on from `number`.
bool RunVimbrel(const Options& o, const std::string& format, int& number, std::vector<double>& times,
                standins::LogViewer* viewer) {
    VimbrelProcess app("bench-capture");
    if (!o.exe.empty()) ::CopyFileA(o.exe.c_str(), app.ExePath().c_str(), FALSE);
    WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1));
    if (!app.Start()) {
        std::printf("Vimbrel did not start\n");
        return false;
    }
    bool ok = true;
    const ULONGLONG size = format == "bmp" ? BmpSize(ScreenDepth()) : 0;
    for (int i = 0; i < o.presses; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Vimbrel-%05d%s", number++, Extension(format).c_str());
        const std::string file = app.Folder() + name;
        const double t = PressAndWait(file, size, viewer != nullptr);
        if (t < 0) {
            std::printf("no file %s\n", file.c_str());
            ok = false;
            break;
        }
        times.push_back(t);
        Settle(viewer != nullptr);
        if (viewer) {
            for (const auto& r : viewer->received)
                if (r.bytes.size() >= 8 && r.bytes[4] == 1) std::printf("  %s\n", r.Line().c_str());
            viewer->received.clear();
            std::printf("  (file whole after %.1f ms from outside)\n", t);
        }
        ::DeleteFileA(file.c_str());
    }
    app.Exit();
    return ok;
}

void Settings(const std::string& format) {
    ClearSettings();
    WriteSetting("CheckClose", "N");
    WriteSetting("PopUp", "0");
    WriteSetting("InclMouse", "0");
    WriteSetting("AutoSave", "On");
    WriteSetting("AutoExt", Extension(format));
}

double Best(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quick") {
            o.rounds = 1;
            o.presses = 5;
        } else if (a == "--rounds" && i + 1 < argc) {
            o.rounds = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--presses" && i + 1 < argc) {
            o.presses = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--exe" && i + 1 < argc) {
            o.exe = argv[++i];
        } else if (a == "bmp" || a == "png" || a == "jpeg") {
            o.formats.push_back(a);
        } else {
            std::printf("usage: capture_to_file [--quick] [--rounds R] [--presses N] [--trace] [--exe PATH] "
                        "[bmp|png|jpeg]...\n");
            return 2;
        }
    }
    if (o.formats.empty()) o.formats = {"bmp", "png", "jpeg"};
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);

    if (o.trace) {
        standins::LogViewer viewer("TKXDataLoggerBench");
        for (const std::string& format : o.formats) {
            std::printf("step trace, %s, screen %d x %d:\n", format.c_str(), w, h);
            Settings(format);
            int number = 1;
            std::vector<double> times;
            if (!RunVimbrel(o, format, number, times, &viewer)) return 1;
        }
        return 0;
    }

    std::printf("screen %d x %d at %d bits; %d round(s) of %d presses each; times from the key press to the whole "
                "file\n",
                w, h, ScreenDepth(), o.rounds, o.presses);
    for (const std::string& format : o.formats) {
        std::vector<double> floor, vimbrel;
        int number = 1;
        Settings(format);
        for (int r = 0; r < o.rounds; ++r) {
            std::vector<double> block;
            // The floor's folder is Vimbrel's scratch folder, laid anew by each block.
            VimbrelProcess scratch("bench-capture-floor");
            if (!RunFloor(scratch.Folder(), o.presses, block)) return 1;
            floor.insert(floor.end(), block.begin(), block.end());
            if (!RunVimbrel(o, format, number, vimbrel, nullptr)) return 1;
        }
        const double fb = Best(floor), vb = Best(vimbrel), fm = Median(floor), vm = Median(vimbrel);
        std::printf("%-4s  floor (bare BitBlt, 24-bit BMP) best %6.1f ms median %6.1f ms | Vimbrel %s best %6.1f ms "
                    "median %6.1f ms | ratio best %.2fx median %.2fx\n",
                    format.c_str(), fb, fm, format.c_str(), vb, vm, vb / fb, vm / fm);
    }
    return 0;
}
