// The floor of bench/capture_to_file.sh: a bare program that holds Print Screen and on each
// press does one BitBlt of the screen into a 24-bit DIB section and writes it as a 24-bit
// bitmap file FOLDER\floor-NNNNN.bmp (numbered from 1): the headers, then the section's
// bytes, in two WriteFile calls. Nothing else: no
// window, no picture of its own, no status. It ends on WM_QUIT (PostThreadMessage).
//   bare_capture FOLDER
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void CaptureTo(const std::string& path) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    const DWORD stride = (DWORD(w) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * DWORD(h);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPINFO info{};
    // Bottom-up, as the file stores its rows: the DIB section's bytes are the file's pixels.
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, imageSize, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    BYTE headers[offset];
    const BITMAPFILEHEADER file{0x4D42, offset + imageSize, 0, 0, offset};
    std::memcpy(headers, &file, sizeof file);
    std::memcpy(headers + sizeof file, &info.bmiHeader, sizeof info.bmiHeader);
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, headers, offset, &written, nullptr);
    ::WriteFile(f, bits, imageSize, &written, nullptr);
    ::CloseHandle(f);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_capture FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    // The thread's message queue, which the hotkey's messages go to.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    if (!::RegisterHotKey(nullptr, 1, 0, VK_SNAPSHOT)) {
        std::fprintf(stderr, "bare_capture: Print Screen is held by another program\n");
        return 1;
    }
    int number = 0;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != WM_HOTKEY) continue;
        char name[32];
        std::snprintf(name, sizeof name, "floor-%05d.bmp", ++number);
        CaptureTo(folder + name);
    }
    ::UnregisterHotKey(nullptr, 1);
    return 0;
}
