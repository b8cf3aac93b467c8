#include "settings/win32/startup_entry.h"

#include <windows.h>

#include "util/errors.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {
namespace {

UniqueHKey OpenRunKey(REGSAM access) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return {};
    return UniqueHKey(key);
}

std::string ThisProgram() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

WinStartupEntry::WinStartupEntry(std::string programPath)
    : programPath_(programPath.empty() ? ThisProgram() : std::move(programPath)) {}

bool WinStartupEntry::Registered() {
    UniqueHKey key = OpenRunKey(KEY_QUERY_VALUE);
    return key && ::RegQueryValueExA(key.get(), kRunValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void WinStartupEntry::Set(bool on) {
    UniqueHKey key = OpenRunKey(KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key) throw ERegistryException("Failed to open the Run key");
    if (on) {
        // Quoted, so a folder with spaces ("Program Files") starts the program and not a part of it.
        const std::string command = "\"" + programPath_ + "\"";
        if (::RegSetValueExA(key.get(), kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>(command.size() + 1)) != ERROR_SUCCESS)
            throw ERegistryException(std::string("Failed to set data for '") + kRunValueName + "'");
    } else {
        const LONG rc = ::RegDeleteValueA(key.get(), kRunValueName);
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
            throw ERegistryException(std::string("Failed to delete '") + kRunValueName + "'");
    }
}

}  // namespace vimbrel::win32
