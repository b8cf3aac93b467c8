#pragma once
// File cipher: single DES (FIPS 46) in CBC, ECB, CFB or OFB with 64-bit feedback.
// Key and initial vector come from text; files are processed in 4096-byte chunks with
// the chaining carried from one chunk to the next, and padded with 1 to 8 bytes that
// each hold the pad count.
// CBC and ECB decryption take whole batches of blocks bitsliced (des_bitslice.h), the rest
// and every other mode the table-driven rounds of des_core.h; all give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "crypto/cipher_errors.h"

namespace vimbrel {

enum class TCipherMode : std::uint8_t { CBC = 0, ECB, CFB, OFB };

class TDES {
public:
    static constexpr std::size_t ChunkSize = 4096;

    TDES() = default;
    ~TDES() { Burn(); }
    TDES(const TDES&) = delete;
    TDES& operator=(const TDES&) = delete;

    TCipherMode CipherMode = TCipherMode::CBC;

    // Each byte of Text overwrites key byte (position mod 8); parity bits are ignored.
    void SetKey(std::string_view Text);
    // Each byte of Text is XORed into IV byte (position mod 8).
    void SetIV(std::string_view Text);

    void EncryptFile(const std::string& InName, const std::string& OutName);
    void DecryptFile(const std::string& InName, const std::string& OutName);
    // Into a file the caller opened, owns and removes on failure; flushed, not closed.
    void EncryptFile(const std::string& InName, std::FILE* Out);
    void DecryptFile(const std::string& InName, std::FILE* Out);

    // Wipes key, schedules, chaining value and buffers; both flags end up false.
    void Burn() noexcept;

    void CheckKeyAndIV() const;

    // In-memory form of the file operations, in place; the chaining value carries on from
    // call to call. The size must be a multiple of 8 (std::invalid_argument otherwise).
    void EncryptBlocks(std::span<std::uint8_t> data);
    void DecryptBlocks(std::span<std::uint8_t> data);

private:
    // Everything Burn wipes, kept together so one wipe covers it.
    struct KeyMaterial {
        bool keySet;
        bool ivSet;
        std::uint8_t iv[8];
        std::uint8_t spare[8];
        // Per round two words holding the eight 6-bit groups of the round key, placed
        // where the round function looks them up.
        std::uint32_t encSchedule[32];
        std::uint32_t decSchedule[32];
        // The encryption round keys in the wide form of the CBC encryption chain.
        std::uint64_t encWide[16];
        // The decryption round keys once more, one all-ones or all-zeros word per key bit,
        // for the bitsliced multi-block path (des_bitslice.h).
        std::uint64_t bitsliceDecKey[16 * 48];
        std::uint8_t work[8];
    };

    void EncryptStream(std::FILE* in, std::FILE* out);
    void DecryptStream(std::FILE* in, std::FILE* out);
    void EncryptBuffer(std::size_t Count) { EncryptBlocks({data_, Count}); }
    void DecryptBuffer(std::size_t Count) { DecryptBlocks({data_, Count}); }

    KeyMaterial km_{};
    std::uint8_t data_[ChunkSize + 8]{};
};

// Runs the calling order every user of the cipher follows (SetIV, SetKey, one file
// operation, Burn) and burns the key on every way out, failures included.
class TDESKeyScope {
public:
    TDESKeyScope(TDES& des, std::string_view ivText, std::string_view keyText);
    ~TDESKeyScope() { des_.Burn(); }
    TDESKeyScope(const TDESKeyScope&) = delete;
    TDESKeyScope& operator=(const TDESKeyScope&) = delete;

    void EncryptFile(const std::string& inName, const std::string& outName);
    void DecryptFile(const std::string& inName, const std::string& outName);
    void EncryptFile(const std::string& inName, std::FILE* out);
    void DecryptFile(const std::string& inName, std::FILE* out);

private:
    void UseOnce();

    TDES& des_;
    bool used_ = false;
};

// One-call forms of the scope above.
void EncryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, const std::string& outName);
void DecryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, const std::string& outName);
void EncryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, std::FILE* out);
void DecryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, std::FILE* out);

}  // namespace vimbrel
