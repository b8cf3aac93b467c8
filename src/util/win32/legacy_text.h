#pragma once
// Texts of the system's legacy code page (the ANSI code page the system itself uses; the
// program's own is UTF-8) turned into UTF-8.
#include <string>
#include <string_view>

namespace vimbrel::win32 {

std::string LegacyToUtf8(std::string_view text);

}  // namespace vimbrel::win32
