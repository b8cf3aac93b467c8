#pragma once
// Whole files in the strong format: the content read in chunks, sealed or opened, and
// written. A file that does not open ends in EStrongFileError with no plain byte left on
// disk: the named output is removed before the error leaves, and a caller's own output
// file is the caller's to remove, as with the DES cipher.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "crypto/strong_cipher.h"

namespace vimbrel {

void EncryptFileStrong(std::string_view keyText, const std::string& inName, const std::string& outName,
                       const StrongParams& params = {});
void DecryptFileStrong(std::string_view keyText, const std::string& inName, const std::string& outName);
// Into a file the caller opened, owns and removes on failure; flushed, not closed.
void EncryptFileStrong(std::string_view keyText, const std::string& inName, std::FILE* out,
                       const StrongParams& params = {});
void DecryptFileStrong(std::string_view keyText, const std::string& inName, std::FILE* out);

// The header of a file whose opening looks strong, read and checked; nothing for any
// other file (DES files have no header). EFileError when the file cannot be read,
// EStrongFileError for a strong file whose header is damaged.
std::optional<StrongHeader> ReadStrongHeader(const std::string& path);

}  // namespace vimbrel
