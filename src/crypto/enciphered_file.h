#pragma once
// An enciphered file in either format: written in the one the user chose, read in the one
// its content holds. DES files are bare ciphertext under the built-in initial vector;
// strong files begin with their header, which is how the two are told apart.
#include <cstdio>
#include <string>
#include <string_view>

#include "crypto/des.h"
#include "crypto/strong_cipher.h"
#include "workspace/file_kinds.h"

namespace vimbrel {

// The format a file holds; EFileError when it cannot be read.
FileCipher CipherOfFile(const std::string& path);

// `des` is the owner's DES component, burned again afterwards; `strong` the parameters a
// strong file is written with.
void EncipherFile(TDES& des, FileCipher cipher, std::string_view keyText, const std::string& inName,
                  const std::string& outName, const StrongParams& strong = {});
void EncipherFile(TDES& des, FileCipher cipher, std::string_view keyText, const std::string& inName, std::FILE* out,
                  const StrongParams& strong = {});
void DecipherFile(TDES& des, std::string_view keyText, const std::string& inName, const std::string& outName);
void DecipherFile(TDES& des, std::string_view keyText, const std::string& inName, std::FILE* out);

}  // namespace vimbrel
