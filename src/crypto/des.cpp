#include "crypto/des.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "crypto/cipher_files.h"
#include "crypto/des_bitslice.h"
#include "crypto/des_core.h"
#include "util/utf8_text.h"

namespace vimbrel {

namespace {

using des::LoadBE;
using des::StoreBE;

// Blocks in flight at once where blocks do not depend on each other.
constexpr std::size_t Lanes = 6;

void SecureZero(void* p, std::size_t n) noexcept {
    volatile std::uint8_t* v = static_cast<std::uint8_t*>(p);
    while (n--) *v++ = 0;
}

template <std::size_t N>
inline void CryptLanes(std::uint32_t (&hi)[N], std::uint32_t (&lo)[N], const std::uint32_t* ks) {
#pragma GCC unroll 8
    for (std::size_t j = 0; j < N; ++j) des::IP(hi[j], lo[j]);
    des::Rounds<N>(hi, lo, ks);
#pragma GCC unroll 8
    for (std::size_t j = 0; j < N; ++j) des::FP(hi[j], lo[j]);
}

// ECB in either direction: each block on its own.
template <std::size_t N>
std::size_t EcbLanes(std::uint8_t* p, std::size_t blocks, const std::uint32_t* ks) {
    std::size_t done = 0;
    for (; done + N <= blocks; done += N, p += 8 * N) {
        std::uint32_t hi[N], lo[N];
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) {
            hi[j] = LoadBE(p + 8 * j);
            lo[j] = LoadBE(p + 8 * j + 4);
        }
        CryptLanes<N>(hi, lo, ks);
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) {
            StoreBE(p + 8 * j, hi[j]);
            StoreBE(p + 8 * j + 4, lo[j]);
        }
    }
    return done;
}

void Ecb(std::uint8_t* p, std::size_t blocks, const std::uint32_t* ks) {
    std::size_t done = EcbLanes<Lanes>(p, blocks, ks);
    EcbLanes<1>(p + 8 * done, blocks - done, ks);
}

// Deciphering CBC (decryption schedule) and CFB (encryption schedule) both compute
// P[i] = X(C[i]) xor C[i-1] for CBC, or P[i] = E(C[i-1]) xor C[i] for CFB: independent per
// block once the ciphertext is known, so several blocks go through the rounds together.
template <std::size_t N, bool Cfb>
std::size_t ChainedDecryptLanes(std::uint8_t* p, std::size_t blocks, const std::uint32_t* ks,
                                std::uint32_t& ivHi, std::uint32_t& ivLo) {
    std::size_t done = 0;
    for (; done + N <= blocks; done += N, p += 8 * N) {
        std::uint32_t cHi[N], cLo[N], hi[N], lo[N];
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) {
            cHi[j] = LoadBE(p + 8 * j);
            cLo[j] = LoadBE(p + 8 * j + 4);
        }
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) {
            hi[j] = Cfb ? (j ? cHi[j - 1] : ivHi) : cHi[j];
            lo[j] = Cfb ? (j ? cLo[j - 1] : ivLo) : cLo[j];
        }
        CryptLanes<N>(hi, lo, ks);
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) {
            std::uint32_t mixHi = Cfb ? cHi[j] : (j ? cHi[j - 1] : ivHi);
            std::uint32_t mixLo = Cfb ? cLo[j] : (j ? cLo[j - 1] : ivLo);
            StoreBE(p + 8 * j, hi[j] ^ mixHi);
            StoreBE(p + 8 * j + 4, lo[j] ^ mixLo);
        }
        ivHi = cHi[N - 1];
        ivLo = cLo[N - 1];
    }
    return done;
}

template <bool Cfb>
void ChainedDecrypt(std::uint8_t* p, std::size_t blocks, const std::uint32_t* ks, std::uint8_t* iv) {
    std::uint32_t ivHi = LoadBE(iv), ivLo = LoadBE(iv + 4);
    std::size_t done = ChainedDecryptLanes<Lanes, Cfb>(p, blocks, ks, ivHi, ivLo);
    ChainedDecryptLanes<1, Cfb>(p + 8 * done, blocks - done, ks, ivHi, ivLo);
    StoreBE(iv, ivHi);
    StoreBE(iv + 4, ivLo);
}

// The permutations are linear, so the chaining is done between them: IP(P xor C) is
// IP(P) xor IP(C), and IP(C) is the previous block's round output. That keeps IP and FP
// off the chain from one block to the next, where they would otherwise add their latency.
// The chain runs on wide halves (des_core.h), which saves the rotation and the masking of
// each round; their low halves are the plain ones.
void CbcEncrypt(std::uint8_t* p, std::size_t blocks, const std::uint64_t* wk, std::uint8_t* iv) {
    std::uint32_t ivHi = LoadBE(iv), ivLo = LoadBE(iv + 4);
    des::IP(ivHi, ivLo);
    std::uint64_t hi = des::Wide(ivHi), lo = des::Wide(ivLo);
    for (; blocks; --blocks, p += 8) {
        std::uint32_t inHi = LoadBE(p), inLo = LoadBE(p + 4);
        des::IP(inHi, inLo);
        hi ^= des::Wide(inHi);
        lo ^= des::Wide(inLo);
        des::WideRounds(hi, lo, wk);
        std::uint32_t outHi = std::uint32_t(hi), outLo = std::uint32_t(lo);
        des::FP(outHi, outLo);
        StoreBE(p, outHi);
        StoreBE(p + 4, outLo);
    }
    std::uint32_t outHi = std::uint32_t(hi), outLo = std::uint32_t(lo);
    des::FP(outHi, outLo);
    StoreBE(iv, outHi);
    StoreBE(iv + 4, outLo);
}

// CFB encryption feeds the ciphertext back, OFB the cipher output; both use E only.
template <bool Ofb>
void FeedbackEncrypt(std::uint8_t* p, std::size_t blocks, const std::uint32_t* ks, std::uint8_t* iv) {
    std::uint32_t hi = LoadBE(iv), lo = LoadBE(iv + 4);
    for (; blocks; --blocks, p += 8) {
        des::Crypt(hi, lo, ks);
        std::uint32_t outHi = hi ^ LoadBE(p), outLo = lo ^ LoadBE(p + 4);
        StoreBE(p, outHi);
        StoreBE(p + 4, outLo);
        if (!Ofb) {
            hi = outHi;
            lo = outLo;
        }
    }
    StoreBE(iv, hi);
    StoreBE(iv + 4, lo);
}

void CheckWholeBlocks(std::size_t size) {
    if (size % 8) throw std::invalid_argument("DES: data size is not a multiple of 8");
}

using namespace cipher_files;

constexpr std::string_view kPrefix = "DES: ";

}  // namespace

void TDES::SetKey(std::string_view Text) {
    std::uint8_t key[8] = {};
    for (std::size_t p = 0; p < Text.size(); ++p) key[p % 8] = static_cast<std::uint8_t>(Text[p]);
    des::MakeSchedules(key, km_.encSchedule, km_.decSchedule);
    des::MakeWideSchedule(km_.encSchedule, km_.encWide);
    des::bitslice::MakeKey(km_.decSchedule, km_.bitsliceDecKey);
    SecureZero(key, sizeof key);
    km_.keySet = true;
}

void TDES::SetIV(std::string_view Text) {
    std::memset(km_.iv, 0, sizeof km_.iv);
    for (std::size_t p = 0; p < Text.size(); ++p) km_.iv[p % 8] ^= static_cast<std::uint8_t>(Text[p]);
    km_.ivSet = true;
}

void TDES::Burn() noexcept {
    SecureZero(&km_, sizeof km_);
    SecureZero(data_, sizeof data_);
}

void TDES::CheckKeyAndIV() const {
    if (!km_.keySet) throw EKeyError("DES: Key not set");
    if (CipherMode != TCipherMode::ECB && !km_.ivSet) throw EKeyError("DES: IV not set");
}

void TDES::EncryptBlocks(std::span<std::uint8_t> data) {
    CheckKeyAndIV();
    CheckWholeBlocks(data.size());
    std::size_t blocks = data.size() / 8;
    switch (CipherMode) {
    case TCipherMode::CBC: CbcEncrypt(data.data(), blocks, km_.encWide, km_.iv); break;
    case TCipherMode::ECB: Ecb(data.data(), blocks, km_.encSchedule); break;
    case TCipherMode::CFB: FeedbackEncrypt<false>(data.data(), blocks, km_.encSchedule, km_.iv); break;
    case TCipherMode::OFB: FeedbackEncrypt<true>(data.data(), blocks, km_.encSchedule, km_.iv); break;
    }
}

void TDES::DecryptBlocks(std::span<std::uint8_t> data) {
    CheckKeyAndIV();
    CheckWholeBlocks(data.size());
    std::size_t blocks = data.size() / 8;
    switch (CipherMode) {
    case TCipherMode::CBC: {
        // Whole batches bitsliced, the rest (at most one batch less a block) by the tables.
        std::size_t done = des::bitslice::CbcDecrypt(des::bitslice::Chosen(), data.data(), blocks,
                                                     km_.bitsliceDecKey, km_.iv);
        ChainedDecrypt<false>(data.data() + 8 * done, blocks - done, km_.decSchedule, km_.iv);
        break;
    }
    case TCipherMode::ECB: {
        std::size_t done = des::bitslice::Ecb(des::bitslice::Chosen(), data.data(), blocks, km_.bitsliceDecKey);
        Ecb(data.data() + 8 * done, blocks - done, km_.decSchedule);
        break;
    }
    case TCipherMode::CFB: ChainedDecrypt<true>(data.data(), blocks, km_.encSchedule, km_.iv); break;
    case TCipherMode::OFB: FeedbackEncrypt<true>(data.data(), blocks, km_.encSchedule, km_.iv); break;
    }
}

void TDES::EncryptFile(const std::string& InName, const std::string& OutName) {
    CheckKeyAndIV();
    FilePtr in = OpenInput(InName, kPrefix);
    OutputFile out(InName, OutName, kPrefix);
    EncryptStream(in.get(), out.get());
    out.Close();
}

void TDES::EncryptFile(const std::string& InName, std::FILE* Out) {
    CheckKeyAndIV();
    FilePtr in = OpenInput(InName, kPrefix);
    EncryptStream(in.get(), Out);
    FlushOutput(Out, kPrefix);
}

void TDES::EncryptStream(std::FILE* in, std::FILE* out) {
    bool atEnd = false;
    while (!atEnd) {
        std::size_t n = ReadChunk(in, data_, ChunkSize, atEnd, kPrefix);
        if (atEnd) {
            std::size_t pad = 8 - n % 8;
            std::memset(data_ + n, static_cast<int>(pad), pad);
            n += pad;
        }
        if (n == 0) continue;
        EncryptBuffer(n);
        WriteAll(out, data_, n, kPrefix);
    }
}

namespace {

// Checks the length before anything is created or transformed.
void CheckCipherTextLength(const std::string& inName) {
    std::error_code ec;
    auto size = std::filesystem::file_size(PathFromUtf8(inName), ec);
    if (!ec && (size == 0 || size % 8))
        throw ECipherTextError("DES: Encrypted file length is not a multiple of 8");
}

}  // namespace

void TDES::DecryptFile(const std::string& InName, const std::string& OutName) {
    CheckKeyAndIV();
    FilePtr in = OpenInput(InName, kPrefix);
    CheckCipherTextLength(InName);
    OutputFile out(InName, OutName, kPrefix);
    DecryptStream(in.get(), out.get());
    out.Close();
}

void TDES::DecryptFile(const std::string& InName, std::FILE* Out) {
    CheckKeyAndIV();
    FilePtr in = OpenInput(InName, kPrefix);
    CheckCipherTextLength(InName);
    DecryptStream(in.get(), Out);
    FlushOutput(Out, kPrefix);
}

void TDES::DecryptStream(std::FILE* in, std::FILE* out) {
    bool atEnd = false;
    while (!atEnd) {
        std::size_t n = ReadChunk(in, data_, ChunkSize, atEnd, kPrefix);
        if (n == 0 || n % 8) throw ECipherTextError("DES: Encrypted file length is not a multiple of 8");
        DecryptBuffer(n);
        if (atEnd) {
            // Only an intact file with the right key ends in a count of 1 to 8.
            std::size_t pad = data_[n - 1];
            if (pad == 0 || pad > 8 || pad > n)
                throw ECipherTextError("DES: Wrong key or damaged encrypted file");
            n -= pad;
        }
        WriteAll(out, data_, n, kPrefix);
    }
}

TDESKeyScope::TDESKeyScope(TDES& des, std::string_view ivText, std::string_view keyText) : des_(des) {
    des_.SetIV(ivText);
    des_.SetKey(keyText);
}

void TDESKeyScope::UseOnce() {
    // The chaining value is used up by one operation; a second would start from garbage.
    if (used_) throw std::logic_error("DES: one file operation per key scope");
    used_ = true;
}

void TDESKeyScope::EncryptFile(const std::string& inName, const std::string& outName) {
    UseOnce();
    des_.EncryptFile(inName, outName);
}

void TDESKeyScope::DecryptFile(const std::string& inName, const std::string& outName) {
    UseOnce();
    des_.DecryptFile(inName, outName);
}

void TDESKeyScope::EncryptFile(const std::string& inName, std::FILE* out) {
    UseOnce();
    des_.EncryptFile(inName, out);
}

void TDESKeyScope::DecryptFile(const std::string& inName, std::FILE* out) {
    UseOnce();
    des_.DecryptFile(inName, out);
}

void EncryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, const std::string& outName) {
    TDESKeyScope scope(des, ivText, keyText);
    scope.EncryptFile(inName, outName);
}

void DecryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, const std::string& outName) {
    TDESKeyScope scope(des, ivText, keyText);
    scope.DecryptFile(inName, outName);
}

void EncryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, std::FILE* out) {
    TDESKeyScope scope(des, ivText, keyText);
    scope.EncryptFile(inName, out);
}

void DecryptFileWithKey(TDES& des, std::string_view ivText, std::string_view keyText,
                        const std::string& inName, std::FILE* out) {
    TDESKeyScope scope(des, ivText, keyText);
    scope.DecryptFile(inName, out);
}

}  // namespace vimbrel
