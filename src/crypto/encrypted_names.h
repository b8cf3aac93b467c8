#pragma once
// Names of encrypted files: ".vrx" appended to the plain name, or (older files) an "X"
// appended to an image extension (".BMPX", ".JPGX", ".JPEGX").
#include <cstddef>
#include <string>
#include <string_view>

namespace vimbrel {

// The built-in text the initial vector of every encrypted file is folded from.
inline constexpr std::string_view EncryptedFileIVText = "pLmOkNiJbHuVgYcF";

// Minimum length of a key text.
inline constexpr std::size_t MinKeyLength = 8;

// The extension of the file-name part, from its last "." on, upper-cased; empty if none.
std::string UpperExtension(std::string_view path);

// True when the extension is one of the encrypted ones; a name without an extension counts
// as encrypted too, since older files were opened that way.
bool IsEncryptedName(std::string_view path);

// The plain name an encrypted file deciphers to, in the same folder: x.bmp.vrx gives x.bmp,
// x.jpgx gives x.jpg. Only meaningful when IsEncryptedName holds.
std::string PlainNameOf(std::string_view path);

// The name "Encrypt a file" writes: the full name with ".VRX" appended.
std::string EncryptedNameOf(std::string_view path);

}  // namespace vimbrel
