#include "settings/win32/ini_file.h"

#include <windows.h>

namespace vimbrel::win32 {

std::string WinOverrideFile::Read(const std::string& section, const std::string& key) {
    char buffer[2048] = {};
    DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), path_.c_str());
    return std::string(buffer, n);
}

}  // namespace vimbrel::win32
