#pragma once
// The override file, read through the system's profile-file functions.
#include <string>

#include "settings/settings_ports.h"

namespace vimbrel::win32 {

// The profile functions read a file in the process code page, UTF-8; a file written in
// the legacy code page is read through a UTF-8 copy in the temporary folder, removed again
// with the object.
class WinOverrideFile : public OverrideFile {
public:
    // path must be absolute: the profile functions look for bare names in the Windows folder.
    explicit WinOverrideFile(std::string path);
    ~WinOverrideFile() override;
    WinOverrideFile(const WinOverrideFile&) = delete;
    WinOverrideFile& operator=(const WinOverrideFile&) = delete;
    std::string Read(const std::string& section, const std::string& key) override;

private:
    std::string path_;
    std::string utf8Copy_;
};

}  // namespace vimbrel::win32
