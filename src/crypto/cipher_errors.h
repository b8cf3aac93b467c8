#pragma once
// What the file ciphers throw. Every failure of theirs is one of these, so a caller catches
// a cipher's failures in one place whichever format it was.
#include <stdexcept>

namespace vimbrel {

// Key or initial vector missing.
class EKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or fully written.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The ciphertext cannot be deciphered: its length is not a positive multiple of 8, or its
// final pad count is impossible (damaged file or, most often, a wrong key).
class ECipherTextError : public EFileError {
public:
    using EFileError::EFileError;
};

// A strong file that does not open: changed, cut, not one at all, or a wrong key. Its
// authentication cannot tell these apart, and never lets any of them through.
class EStrongFileError : public ECipherTextError {
public:
    using ECipherTextError::ECipherTextError;
};

}  // namespace vimbrel
