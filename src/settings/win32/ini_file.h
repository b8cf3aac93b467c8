#pragma once
// The override file, read through the system's profile-file functions.
#include <string>

#include "settings/settings_ports.h"

namespace vimbrel::win32 {

class WinOverrideFile : public OverrideFile {
public:
    // path must be absolute: the profile functions look for bare names in the Windows folder.
    explicit WinOverrideFile(std::string path) : path_(std::move(path)) {}
    std::string Read(const std::string& section, const std::string& key) override;

private:
    std::string path_;
};

}  // namespace vimbrel::win32
