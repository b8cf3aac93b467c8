#include "crypto/encrypted_names.h"

#include "workspace/file_kinds.h"
#include "workspace/path_parts.h"

namespace vimbrel {

std::string PlainTemporaryPath(std::string_view tempFolder, std::string_view encryptedName) {
    return std::string(tempFolder) + DecipheredNameOf(ExtractFileName(encryptedName));
}

std::string DecipheredPath(std::string_view workFolder, std::string_view encryptedPath) {
    const std::string name = DecipheredNameOf(ExtractFileName(encryptedPath));
    return name.empty() ? std::string() : std::string(workFolder) + name;
}

}  // namespace vimbrel
