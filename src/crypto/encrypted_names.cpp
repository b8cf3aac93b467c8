#include "crypto/encrypted_names.h"

#include <cctype>

namespace vimbrel {

namespace {

std::string_view FileNamePart(std::string_view path) {
    auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string UpperExtension(std::string_view path) {
    std::string_view name = FileNamePart(path);
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(name.substr(dot));
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

bool IsEncryptedName(std::string_view path) {
    static constexpr std::string_view List = "\\.VRX\\.BMPX\\.JPGX\\.JPEGX\\";
    return List.find(UpperExtension(path) + "\\") != std::string_view::npos;
}

std::string PlainNameOf(std::string_view path) {
    std::size_t drop = UpperExtension(path) == ".VRX" ? 4 : 1;
    std::size_t nameLength = FileNamePart(path).size();
    if (drop > nameLength) drop = nameLength;
    return std::string(path.substr(0, path.size() - drop));
}

std::string EncryptedNameOf(std::string_view path) { return std::string(path) + ".VRX"; }

}  // namespace vimbrel
