// Hotkey to saved file: how long Vimbrel takes from Print Screen to a complete numbered
// bitmap file, beside a bare program that does only a BitBlt of the screen and writes the
// same file. Run under Wine on the test display by bench/capture_to_file.sh.
//   capture_to_file RUNS
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"

#include "vimbrel_process.h"

using namespace e2e;
using bench::Clock;
using bench::Median;
using bench::Ms;
using bench::Percentile;

namespace {

// The bare program: the screen into a 32-bit DIB section with one BitBlt, then the file.
void BareCapture(const std::string& path) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    const DWORD size = DWORD(w) * DWORD(h) * 4;
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) + size, 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    BITMAPINFOHEADER header = info.bmiHeader;
    header.biHeight = h;  // rows bottom-up in the file
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, &file, sizeof file, &written, nullptr);
    ::WriteFile(f, &header, sizeof header, &written, nullptr);
    const DWORD stride = DWORD(w) * 4;
    for (int y = h - 1; y >= 0; --y) ::WriteFile(f, static_cast<BYTE*>(bits) + stride * DWORD(y), stride, &written, nullptr);
    ::CloseHandle(f);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
    ::ReleaseDC(nullptr, screen);
}

void PressPrintScreen() {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = VK_SNAPSHOT;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    ClearSettings();
    WriteSetting("CheckClose", "N");
    WriteSetting("PopUp", "0");
    WriteSetting("InclMouse", "0");
    WriteSetting("AutoSave", "On");
    WriteSetting("AutoExt", ".bmp");
    VimbrelProcess app("bench-capture");
    WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1));
    if (!app.Start()) {
        std::printf("Vimbrel did not start\n");
        return 1;
    }

    std::vector<double> bare, vimbrel;
    for (int i = 1; i <= runs; ++i) {
        auto start = Clock::now();
        BareCapture(app.Folder() + "bare.bmp");
        bare.push_back(Ms(start));

        char name[32];
        std::snprintf(name, sizeof name, "Vimbrel-%05d.bmp", i);
        const std::string file = app.Folder() + name;
        start = Clock::now();
        PressPrintScreen();
        // Numbered files appear under their name only when complete. Looked for every
        // millisecond, so the wait adds no more than that to the time.
        while (!Exists(file)) {
            if (Ms(start) > 20000) {
                std::printf("no file %s\n", file.c_str());
                return 1;
            }
            ::Sleep(1);
        }
        vimbrel.push_back(Ms(start));
        WaitFor([] { return false; }, 200ms);  // let the program settle before the next run
    }
    app.Exit();
    const double b = Median(bare), v = Median(vimbrel);
    std::printf("screen %d x %d, %d runs, medians: bare BitBlt and write %.1f ms, Vimbrel hotkey to file %.1f ms, "
                "ratio %.2f\n",
                ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), runs, b, v, v / b);
    return 0;
}
