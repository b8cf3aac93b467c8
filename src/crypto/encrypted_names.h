#pragma once
// Where encrypted files go: the plain picture of an encrypted save, and the deciphered copy
// of an opened file. Which names are enciphered, and what they decipher to, are the file
// kinds' rules (workspace/file_kinds.h).
#include <cstddef>
#include <string>
#include <string_view>

namespace vimbrel {

// The built-in text the initial vector of every encrypted file is folded from.
inline constexpr std::string_view EncryptedFileIVText = "pLmOkNiJbHuVgYcF";

// Minimum length of a key text.
inline constexpr std::size_t MinKeyLength = 8;

// Where the plain image of an encrypted save is written first: the temporary folder (with
// its separator) and the saved name without ".vrx".
std::string PlainTemporaryPath(std::string_view tempFolder, std::string_view encryptedName);

// Where an encrypted file is deciphered for opening: the work folder (with its separator)
// and the derived plain name. Empty when nothing is left of the name (".vrx", "x").
std::string DecipheredPath(std::string_view workFolder, std::string_view encryptedPath);

}  // namespace vimbrel
