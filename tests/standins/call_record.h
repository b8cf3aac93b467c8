#pragma once
// How the stand-ins report what they were asked: one line per call, appended to a file
// beside a module (the program itself for a null module), for the tests to read.
#include <windows.h>

#include <string>

namespace standins {

inline std::string FolderOf(HMODULE module) {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    std::string folder(path, n);
    return folder.erase(folder.find_last_of('\\') + 1);
}

inline void RecordCall(HMODULE besides, const char* fileName, const std::string& line) {
    HANDLE f = ::CreateFileA((FolderOf(besides) + fileName).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
    ::CloseHandle(f);
}

}  // namespace standins
