#include "workspace/win32/file_system_win.h"

#include "util/win32/system.h"

namespace vimbrel::win32 {

bool Win32FileSystem::FileExists(const std::string& path) const { return win32::FileExists(path); }

}  // namespace vimbrel::win32
