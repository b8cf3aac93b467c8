// Stand-in for an image editor: records the command line it was started with in
// "editor-args.txt" beside itself, then ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    folder.erase(folder.find_last_of('\\') + 1);
    const std::string line = ::GetCommandLineA();
    HANDLE f = ::CreateFileA((folder + "editor-args.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(f, line.data(), DWORD(line.size()), &written, nullptr);
    ::CloseHandle(f);
    return 0;
}
