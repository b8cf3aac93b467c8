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

// The save dialog of an image saved encrypted: entry 1 a bitmap inside, entry 2 a JPEG,
// entry 3 a PNG file.
inline constexpr const char* kSaveEncryptedFilter =
    "Bitmap - Encrypted |*.bmp.vrx|jpg,jpeg - Encrypted |*.jp*g.vrx|png - Encrypted |*.png.vrx";

// The name an image is saved encrypted under: a chosen x.bmp.vrx, x.jpg.vrx, x.jpeg.vrx or
// x.png.vrx (any case) stands; anything else gets ".bmp.vrx" (entry 1), ".png.vrx"
// (entry 3) or ".jpg.vrx" appended, so x.vrx becomes x.vrx.bmp.vrx and the inner name
// always says what the content is.
std::string EncryptedSaveName(std::string_view chosen, int filterIndex);

// Where the plain image of an encrypted save is written first: the temporary folder (with
// its separator) and the saved name without ".vrx".
std::string PlainTemporaryPath(std::string_view tempFolder, std::string_view encryptedName);

// Where an encrypted file is deciphered for opening: the work folder (with its separator)
// and the derived plain name. Empty when nothing is left of the name (".vrx", "x").
std::string DecipheredPath(std::string_view workFolder, std::string_view encryptedPath);

}  // namespace vimbrel
