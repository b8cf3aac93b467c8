#pragma once
// The image file commands' file questions answered by Windows.
#include "workspace/file_system.h"

namespace vimbrel::win32 {

class Win32FileSystem : public FileSystemPort {
public:
    bool FileExists(const std::string& path) const override;
};

}  // namespace vimbrel::win32
