#include "crypto/encrypted_names.h"

#include <algorithm>
#include <cctype>

#include "workspace/file_names.h"

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
    // The list the Open command routes by, so both always agree.
    return kEncryptedExtList.find(UpperExtension(path) + "\\") != std::string_view::npos;
}

std::string PlainNameOf(std::string_view path) {
    std::size_t drop = UpperExtension(path) == ".VRX" ? 4 : 1;
    std::size_t nameLength = FileNamePart(path).size();
    if (drop > nameLength) drop = nameLength;
    return std::string(path.substr(0, path.size() - drop));
}

std::string EncryptedNameOf(std::string_view path) { return std::string(path) + ".VRX"; }

std::string EncryptedSaveName(std::string_view chosen, int filterIndex) {
    if (UpperExtension(chosen) == ".VRX") {
        const std::string inner = UpperExtension(chosen.substr(0, chosen.size() - 4));
        if (!inner.empty() && kImageExtList.find(inner + "\\") != std::string_view::npos) return std::string(chosen);
    }
    return std::string(chosen) + (filterIndex == 1 ? ".bmp.vrx" : filterIndex == 3 ? ".png.vrx" : ".jpg.vrx");
}

std::string PlainTemporaryPath(std::string_view tempFolder, std::string_view encryptedName) {
    std::string_view name = FileNamePart(encryptedName);
    return std::string(tempFolder) + std::string(name.substr(0, name.size() - std::min<std::size_t>(4, name.size())));
}

std::string DecipheredPath(std::string_view workFolder, std::string_view encryptedPath) {
    std::string plain = PlainNameOf(encryptedPath);
    std::string_view name = FileNamePart(plain);
    return name.empty() ? std::string() : std::string(workFolder) + std::string(name);
}

}  // namespace vimbrel
