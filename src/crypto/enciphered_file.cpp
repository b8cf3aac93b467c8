#include "crypto/enciphered_file.h"

#include "crypto/encrypted_names.h"
#include "crypto/strong_file.h"

namespace vimbrel {

FileCipher CipherOfFile(const std::string& path) {
    try {
        return ReadStrongHeader(path) ? FileCipher::Strong : FileCipher::Des;
    } catch (const EStrongFileError&) {
        return FileCipher::Strong;  // damaged, and refused as such when deciphered
    }
}

namespace {

template <typename Out>
void Encipher(TDES& des, FileCipher cipher, std::string_view keyText, const std::string& inName, Out out,
              const StrongParams& strong) {
    if (cipher == FileCipher::Strong) EncryptFileStrong(keyText, inName, out, strong);
    else EncryptFileWithKey(des, EncryptedFileIVText, keyText, inName, out);
}

template <typename Out>
void Decipher(TDES& des, std::string_view keyText, const std::string& inName, Out out) {
    if (CipherOfFile(inName) == FileCipher::Strong) DecryptFileStrong(keyText, inName, out);
    else DecryptFileWithKey(des, EncryptedFileIVText, keyText, inName, out);
}

}  // namespace

void EncipherFile(TDES& des, FileCipher cipher, std::string_view keyText, const std::string& inName,
                  const std::string& outName, const StrongParams& strong) {
    Encipher(des, cipher, keyText, inName, outName, strong);
}

void EncipherFile(TDES& des, FileCipher cipher, std::string_view keyText, const std::string& inName, std::FILE* out,
                  const StrongParams& strong) {
    Encipher(des, cipher, keyText, inName, out, strong);
}

void DecipherFile(TDES& des, std::string_view keyText, const std::string& inName, const std::string& outName) {
    Decipher(des, keyText, inName, outName);
}

void DecipherFile(TDES& des, std::string_view keyText, const std::string& inName, std::FILE* out) {
    Decipher(des, keyText, inName, out);
}

}  // namespace vimbrel
