#include "settings/win32/settings_system.h"

#include <windows.h>

#include "settings/settings.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {

bool WinFileSystem::FolderExists(const std::string& path) const { return win32::FolderExists(path); }

bool WinFileSystem::FileExists(const std::string& path) const { return win32::FileExists(path); }

bool WinFileSystem::CreateFolderPath(const std::string& path) { return win32::CreateFolderPath(path); }

std::optional<std::uint64_t> WinFileSystem::FileSize(const std::string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WinFileSystem::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

std::string WinSystemQueries::WindowsFolder() { return GetWindowsFolder(); }

std::string WinSystemQueries::OutlookAppPath() {
    return ReadRegString(HKEY_LOCAL_MACHINE, kOutlookAppPathKey, "", "");
}

}  // namespace vimbrel::win32
