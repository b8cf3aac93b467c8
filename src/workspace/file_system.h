#pragma once
// The few questions the image file commands ask the file system, behind a port so the
// name rules are tested without touching disk.
#include <string>

namespace vimbrel {

class FileSystemPort {
public:
    virtual ~FileSystemPort() = default;
    virtual bool FileExists(const std::string& path) const = 0;
};

}  // namespace vimbrel
