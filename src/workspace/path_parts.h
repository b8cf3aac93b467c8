#pragma once
// Path pieces with "\" (also "/" and a drive's ":") as separators.
#include <string>
#include <string_view>

namespace vimbrel {

// Extension: from the last "." of the file-name part to the end, with the dot; empty when
// there is none.
std::string ExtractFileExt(std::string_view path);
// Folder part including its trailing separator; empty for a bare name.
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);

}  // namespace vimbrel
