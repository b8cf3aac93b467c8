#pragma once
// Files, folders and system questions for the settings logic.
#include "settings/settings_ports.h"

namespace vimbrel::win32 {

class WinFileSystem : public FileSystemPort {
public:
    bool FolderExists(const std::string& path) const override;
    bool FileExists(const std::string& path) const override;
    bool CreateFolderPath(const std::string& path) override;
    std::optional<std::uint64_t> FileSize(const std::string& path) const override;
    bool RemoveFile(const std::string& path) override;
};

class WinSystemQueries : public SystemQueries {
public:
    std::string WindowsFolder() override;
    std::string OutlookAppPath() override;
};

}  // namespace vimbrel::win32
