#include "crypto/strong_cipher.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>

namespace vimbrel {

namespace {

constexpr std::uint8_t kMagic[8] = {0x89, 'V', 'R', 'S', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kMagicAtLeast = 6;
constexpr std::size_t kStreamHeaderAt = 40;

using Stream = crypto_secretstream_xchacha20poly1305_state;
static_assert(crypto_secretstream_xchacha20poly1305_ABYTES == kStrongChunkOverhead);
static_assert(crypto_secretstream_xchacha20poly1305_HEADERBYTES == sizeof(StrongHeader::streamHeader));
static_assert(crypto_secretstream_xchacha20poly1305_KEYBYTES == 32);
static_assert(crypto_pwhash_argon2id_SALTBYTES == sizeof(StrongHeader::salt));
static_assert(kStrongParamsMin.passes >= crypto_pwhash_argon2id_OPSLIMIT_MIN);
static_assert(kStrongParamsMin.memoryKiB * 1024ull >= crypto_pwhash_argon2id_MEMLIMIT_MIN);

void StartSodium() {
    static const bool started = sodium_init() >= 0;
    if (!started) throw std::runtime_error("The cipher library could not be started");
}

std::uint32_t LoadLE(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void StoreLE(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

bool Within(std::uint32_t value, std::uint32_t low, std::uint32_t high) { return value >= low && value <= high; }

bool InBounds(const StrongParams& p) {
    return Within(p.passes, kStrongParamsMin.passes, kStrongParamsMax.passes) &&
           Within(p.memoryKiB, kStrongParamsMin.memoryKiB, kStrongParamsMax.memoryKiB) &&
           Within(p.chunkSize, kStrongParamsMin.chunkSize, kStrongParamsMax.chunkSize);
}

[[noreturn]] void Damaged() { throw EStrongFileError("Wrong key or damaged encrypted file"); }

// The key of one stream, derived into memory that is wiped on every way out.
class StreamKey {
public:
    StreamKey(std::string_view keyText, const StrongHeader& header) {
        try {
            DeriveStrongKey(keyText, header.salt, header.params, key_);
        } catch (...) {
            WipeSecret(key_.data(), key_.size());  // no destructor runs for a failed constructor
            throw;
        }
    }
    ~StreamKey() { WipeSecret(key_.data(), key_.size()); }
    StreamKey(const StreamKey&) = delete;
    StreamKey& operator=(const StreamKey&) = delete;
    const unsigned char* data() const { return key_.data(); }

private:
    std::array<std::uint8_t, 32> key_{};
};

}  // namespace

struct StrongStream::State {
    Stream stream;
};

StrongStream::StrongStream() : state_(std::make_unique<State>()) {}

StrongStream::~StrongStream() { WipeSecret(state_.get(), sizeof(State)); }

std::span<const std::uint8_t> StrongStream::AssociatedData() const {
    return first_ ? std::span<const std::uint8_t>(header_) : std::span<const std::uint8_t>();
}

void WipeSecret(void* p, std::size_t n) noexcept { sodium_memzero(p, n); }

bool LooksLikeStrongFile(std::span<const std::uint8_t> opening) {
    if (opening.size() < sizeof kMagic) return false;
    std::size_t same = 0;
    for (std::size_t i = 0; i < sizeof kMagic; ++i) same += opening[i] == kMagic[i] ? 1 : 0;
    return same >= kMagicAtLeast;
}

StrongHeader ParseStrongHeader(std::span<const std::uint8_t> b) {
    if (b.size() < kStrongHeaderSize || !std::equal(std::begin(kMagic), std::end(kMagic), b.begin())) Damaged();
    StrongHeader h;
    h.version = b[8];
    h.algorithms = b[9];
    if (h.version != kStrongVersion)
        throw EStrongFileError("Encrypted file of format version " + std::to_string(h.version) +
                               ", which this version does not know");
    if (h.algorithms != 1 || b[10] != 0 || b[11] != 0) Damaged();
    h.params = {LoadLE(&b[12]), LoadLE(&b[16]), LoadLE(&b[20])};
    if (!InBounds(h.params))
        Damaged();
    std::copy_n(&b[24], h.salt.size(), h.salt.begin());
    std::copy_n(&b[kStreamHeaderAt], h.streamHeader.size(), h.streamHeader.begin());
    return h;
}

std::array<std::uint8_t, kStrongHeaderSize> SerializeStrongHeader(const StrongHeader& h) {
    std::array<std::uint8_t, kStrongHeaderSize> b{};
    std::copy(std::begin(kMagic), std::end(kMagic), b.begin());
    b[8] = h.version;
    b[9] = h.algorithms;
    StoreLE(&b[12], h.params.passes);
    StoreLE(&b[16], h.params.memoryKiB);
    StoreLE(&b[20], h.params.chunkSize);
    std::copy(h.salt.begin(), h.salt.end(), &b[24]);
    std::copy(h.streamHeader.begin(), h.streamHeader.end(), &b[kStreamHeaderAt]);
    return b;
}

void DeriveStrongKey(std::string_view keyText, std::span<const std::uint8_t, 16> salt, const StrongParams& params,
                     std::span<std::uint8_t, 32> key) {
    StartSodium();
    if (crypto_pwhash(key.data(), key.size(), keyText.data(), keyText.size(), salt.data(), params.passes,
                      std::size_t(params.memoryKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw EKeyError("Not enough memory to derive the key");
}

StrongSealer::StrongSealer(std::string_view keyText, const StrongParams& params) {
    StartSodium();
    params_ = params;
    if (!InBounds(params))
        throw std::invalid_argument("Strong cipher parameters out of bounds");
    StrongHeader header;
    header.params = params;
    randombytes_buf(header.salt.data(), header.salt.size());
    StreamKey key(keyText, header);
    crypto_secretstream_xchacha20poly1305_init_push(&state_->stream, header.streamHeader.data(), key.data());
    header_ = SerializeStrongHeader(header);
}

void StrongSealer::Seal(std::span<const std::uint8_t> plain, bool last, std::vector<std::uint8_t>& sealed) {
    if (ended_ || plain.size() > params_.chunkSize || (!last && plain.size() != params_.chunkSize))
        throw std::logic_error("Strong cipher: chunks out of order");
    sealed.resize(plain.size() + kStrongChunkOverhead);
    const unsigned char tag = last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                   : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
    const auto ad = AssociatedData();
    crypto_secretstream_xchacha20poly1305_push(&state_->stream, sealed.data(), nullptr, plain.data(), plain.size(),
                                               ad.data(), ad.size(), tag);
    first_ = false;
    ended_ = last;
}

StrongOpener::StrongOpener(std::string_view keyText, std::span<const std::uint8_t> header) {
    StartSodium();
    const StrongHeader parsed = ParseStrongHeader(header);
    params_ = parsed.params;
    std::copy_n(header.begin(), header_.size(), header_.begin());
    StreamKey key(keyText, parsed);
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state_->stream, parsed.streamHeader.data(), key.data()) != 0)
        Damaged();
}

bool StrongOpener::Open(std::span<const std::uint8_t> sealed, std::vector<std::uint8_t>& plain) {
    // Nothing may follow the final chunk, and only the last chunk may be short.
    if (ended_ || sealed.size() < kStrongChunkOverhead || sealed.size() > SealedChunkSize()) Damaged();
    plain.resize(sealed.size() - kStrongChunkOverhead);
    unsigned char tag = 0;
    const auto ad = AssociatedData();
    const int rc = crypto_secretstream_xchacha20poly1305_pull(&state_->stream, plain.data(), nullptr, &tag,
                                                              sealed.data(), sealed.size(), ad.data(), ad.size());
    first_ = false;
    const bool final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
    if (rc != 0 || (tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE && !final) ||
        (!final && sealed.size() != SealedChunkSize())) {
        WipeSecret(plain.data(), plain.size());
        plain.clear();
        Damaged();
    }
    ended_ = final;
    return final;
}

}  // namespace vimbrel
