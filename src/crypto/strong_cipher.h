#pragma once
// The strong enciphered-file format, in memory: a versioned header, then the content in
// sealed chunks (XChaCha20-Poly1305 secret stream) under a key that Argon2id stretches from
// the key text with a random salt of the file's own. The header holds everything needed to
// open the file again, so the stretching can be raised later without losing older files.
//
//   0  8 bytes  magic 89 'V' 'R' 'S' 0D 0A 1A 0A
//   8  1        format version (1)
//   9  1        algorithms (1: Argon2id v1.3, XChaCha20-Poly1305 secret stream)
//  10  2        reserved, 0
//  12  4        Argon2id passes, little-endian
//  16  4        Argon2id memory in KiB, little-endian
//  20  4        plain bytes per chunk, little-endian
//  24 16        salt
//  40 24        secret stream header (its random nonce)
//  64           chunks, each its plain bytes plus 17; the last one tagged final. The header
//               is the first chunk's associated data, so no byte of it can change unnoticed.
//
// The cipher itself is libsodium's; nothing here is a primitive of its own.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "crypto/cipher_errors.h"

namespace vimbrel {

inline constexpr std::size_t kStrongHeaderSize = 64;
inline constexpr std::size_t kStrongChunkOverhead = 17;
inline constexpr std::uint8_t kStrongVersion = 1;

struct StrongParams {
    std::uint32_t passes = 3;                // Argon2id time cost
    std::uint32_t memoryKiB = 128 * 1024;    // Argon2id memory cost
    std::uint32_t chunkSize = 64 * 1024;     // plain bytes per sealed chunk
    bool operator==(const StrongParams&) const = default;
};

// What a header may ask for. Beyond these a file is taken as damaged before any key work,
// so a changed header cannot make the program run for hours or exhaust its memory; the
// upper bounds leave room to raise the defaults a good deal.
inline constexpr StrongParams kStrongParamsMin{1, 8, 16};
inline constexpr StrongParams kStrongParamsMax{16, 1024 * 1024, 16 * 1024 * 1024};

struct StrongHeader {
    std::uint8_t version = kStrongVersion;
    std::uint8_t algorithms = 1;
    StrongParams params;
    std::array<std::uint8_t, 16> salt{};
    std::array<std::uint8_t, 24> streamHeader{};
};

// Whether a file's opening bytes are a strong file's. The magic counts when at least six of
// its eight bytes are in place, so a strong file with a damaged magic is still refused as
// a damaged strong file instead of being deciphered as DES; DES ciphertext comes that close
// to the magic about once in 10^13 files.
bool LooksLikeStrongFile(std::span<const std::uint8_t> opening);

// The header's fields; EStrongFileError when the bytes are no header this program can
// open (magic, version, algorithms, reserved bytes or parameters out of bounds).
StrongHeader ParseStrongHeader(std::span<const std::uint8_t> bytes);
std::array<std::uint8_t, kStrongHeaderSize> SerializeStrongHeader(const StrongHeader& header);

// Argon2id of the key text under the salt and parameters: the 32-byte stream key.
// EKeyError when the memory it needs cannot be had.
void DeriveStrongKey(std::string_view keyText, std::span<const std::uint8_t, 16> salt, const StrongParams& params,
                     std::span<std::uint8_t, 32> key);

// What a sealer and an opener hold: the stream state (where the derived key lives, wiped
// when it goes), the header, and where in the chunks it is.
class StrongStream {
public:
    StrongStream(const StrongStream&) = delete;
    StrongStream& operator=(const StrongStream&) = delete;

protected:
    StrongStream();
    ~StrongStream();
    // The first chunk carries the header as its associated data.
    std::span<const std::uint8_t> AssociatedData() const;

    struct State;
    StrongParams params_;
    std::array<std::uint8_t, kStrongHeaderSize> header_{};
    std::unique_ptr<State> state_;
    bool first_ = true, ended_ = false;
};

// Seals a file's content chunk by chunk.
class StrongSealer : private StrongStream {
public:
    StrongSealer(std::string_view keyText, const StrongParams& params);

    // The 64 bytes that go first.
    std::span<const std::uint8_t> Header() const { return header_; }
    std::size_t ChunkSize() const { return params_.chunkSize; }
    // Seals one chunk: ChunkSize() plain bytes, or up to that many for the last one, which
    // must be marked `last` (an empty content still has one, empty, last chunk).
    void Seal(std::span<const std::uint8_t> plain, bool last, std::vector<std::uint8_t>& sealed);
};

// Opens a file's chunks in turn. Every failure is EStrongFileError, and no plain byte of a
// chunk comes out before its authentication has passed.
class StrongOpener : private StrongStream {
public:
    // Parses the header and derives the key (the slow step).
    StrongOpener(std::string_view keyText, std::span<const std::uint8_t> header);

    // A sealed chunk's size: every chunk but the last has exactly this many bytes.
    std::size_t SealedChunkSize() const { return params_.chunkSize + kStrongChunkOverhead; }
    // Opens one sealed chunk into `plain`; true when it was the final one.
    bool Open(std::span<const std::uint8_t> sealed, std::vector<std::uint8_t>& plain);
};

// Overwrites memory that held key material; the compiler may not leave it out.
void WipeSecret(void* p, std::size_t n) noexcept;

}  // namespace vimbrel
