#include "workspace/path_parts.h"

namespace vimbrel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

std::size_t NameStart(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    return i;
}

}  // namespace

std::string ExtractFileExt(std::string_view path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < start) return {};
    return std::string(path.substr(dot));
}

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(NameStart(path))); }

}  // namespace vimbrel
