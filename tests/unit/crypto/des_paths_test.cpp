// The bitsliced multi-block paths (scalar, SSE2, AVX2) give exactly the bytes of the
// table-driven single-block reference: known answers, random keys, IVs and lengths, calls
// split anywhere, and openssl on a file large enough for many batches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "crypto/des.h"
#include "crypto/des_bitslice.h"
#include "crypto/des_core.h"
#include "test_files.h"

namespace vimbrel {
namespace {

namespace bs = des::bitslice;
using testing::Bytes;
using testing::FromHex;
using testing::Hex;

const bs::Path AllPaths[] = {bs::Path::Scalar, bs::Path::Sse2, bs::Path::Avx2};

// Forces a path for the length of a test and gives the choice back after it.
struct ForcedPath {
    explicit ForcedPath(bs::Path p) { bs::Force(p); }
    ~ForcedPath() { bs::Unforce(); }
};

// The reference: CBC decryption one block at a time through the table-driven function.
Bytes ReferenceCbcDecrypt(const std::uint8_t key[8], const std::uint8_t iv[8], const Bytes& cipher) {
    des::Schedule enc, dec;
    des::MakeSchedules(key, enc, dec);
    Bytes out(cipher.size());
    std::uint8_t prev[8];
    std::memcpy(prev, iv, 8);
    for (std::size_t i = 0; i < cipher.size(); i += 8) {
        std::uint32_t hi = des::LoadBE(&cipher[i]), lo = des::LoadBE(&cipher[i + 4]);
        des::Crypt(hi, lo, dec);
        des::StoreBE(&out[i], hi);
        des::StoreBE(&out[i + 4], lo);
        for (int j = 0; j < 8; ++j) out[i + j] ^= prev[j];
        std::memcpy(prev, &cipher[i], 8);
    }
    return out;
}

std::string AsKeyText(const std::uint8_t* b, std::size_t n) { return std::string(reinterpret_cast<const char*>(b), n); }

TEST(DesPaths, ChoiceIsAvailableAndForcible) {
    EXPECT_TRUE(bs::Available(bs::Path::Scalar));
    EXPECT_TRUE(bs::Available(bs::Path::Sse2));
    EXPECT_TRUE(bs::Available(bs::Chosen()));
    EXPECT_NE(bs::Chosen(), bs::Path::Scalar);
    for (bs::Path p : AllPaths) {
        if (!bs::Available(p)) continue;
        ForcedPath forced(p);
        EXPECT_EQ(bs::Chosen(), p);
    }
    std::printf("bitsliced DES path chosen here: %s\n", bs::Name(bs::Chosen()));
}

// Each known answer fills a whole batch (each block its own plain text, the answer in the
// middle), deciphered in one call of the batch function.
TEST(DesPaths, KnownAnswersInEveryLane) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    } cases[] = {
        {"133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
        {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
        {"0101010101010101", "0000000000000001", "166b40b44aba4bd6"},
        {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
        {"7ca110454a1a6e57", "01a1d6d039776742", "690f5b0d9a26939b"},
        {"0131d9619dc1376e", "5cd54ca83def57da", "7a389d10354bd271"},
        {"3849674c2602319e", "51454b582ddf440a", "7178876e01f19b2a"},
    };
    for (bs::Path p : AllPaths) {
        if (!bs::Available(p)) continue;
        const std::size_t n = bs::BatchBlocks(p);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(bs::Name(p)) + " " + c.key);
            Bytes key = FromHex(c.key);
            des::Schedule enc, dec;
            des::MakeSchedules(key.data(), enc, dec);
            std::uint64_t bkey[bs::KeyWords];
            bs::MakeKey(dec, bkey);
            // Lane i holds the known cipher text in every position in turn.
            for (std::size_t lane = 0; lane < n; lane += n / 8 + 3) {
                Bytes data(8 * n);
                for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 11);
                Bytes cipher = FromHex(c.cipher);
                std::memcpy(&data[8 * lane], cipher.data(), 8);
                ASSERT_EQ(bs::Ecb(p, data.data(), n, bkey), n);
                EXPECT_EQ(Hex(Bytes(data.begin() + 8 * lane, data.begin() + 8 * lane + 8)), c.plain) << lane;
            }
        }
    }
}

// Random keys, IVs and lengths, through the component with each path forced, in calls
// split at random block counts; the same bytes as the reference and the IV carried on.
TEST(DesPaths, SameBytesAsTheReference) {
    std::mt19937 rng(20261209);
    for (bs::Path p : AllPaths) {
        if (!bs::Available(p)) continue;
        ForcedPath forced(p);
        for (int round = 0; round < 24; ++round) {
            std::uint8_t key[8], iv[8];
            for (auto& b : key) b = static_cast<std::uint8_t>(rng());
            for (auto& b : iv) b = static_cast<std::uint8_t>(rng());
            const std::size_t blocks = rng() % 1100;
            Bytes cipher(8 * blocks);
            for (auto& b : cipher) b = static_cast<std::uint8_t>(rng());
            SCOPED_TRACE(std::string(bs::Name(p)) + " blocks " + std::to_string(blocks));
            const Bytes want = ReferenceCbcDecrypt(key, iv, cipher);

            TDES des;
            des.CipherMode = TCipherMode::CBC;
            des.SetKey(AsKeyText(key, 8));
            des.SetIV(AsKeyText(iv, 8));
            Bytes got = cipher;
            for (std::size_t at = 0; at < blocks;) {
                std::size_t n = round % 3 == 0 ? blocks - at : std::min<std::size_t>(blocks - at, rng() % 600 + 1);
                des.DecryptBlocks(std::span(got).subspan(8 * at, 8 * n));
                at += n;
            }
            ASSERT_EQ(got, want);

            // The chaining value carried on: one more block deciphers against the last one.
            if (blocks) {
                Bytes extra(cipher.end() - 8, cipher.end());
                Bytes again = extra;
                des.DecryptBlocks(again);
                Bytes tail(cipher.end() - 8, cipher.end());
                Bytes ref = ReferenceCbcDecrypt(key, tail.data(), extra);
                EXPECT_EQ(again, ref);
            }

            // And ECB, whose decryption goes through the batches too.
            TDES ecb;
            ecb.CipherMode = TCipherMode::ECB;
            ecb.SetKey(AsKeyText(key, 8));
            Bytes plain = cipher;
            ecb.EncryptBlocks(plain);
            ecb.DecryptBlocks(plain);
            ASSERT_EQ(plain, cipher);
        }
    }
}

#ifndef _WIN32
// A file of many chunks, made by openssl, deciphers to the same bytes under every path.
TEST(DesPaths, OpensslFilesUnderEveryPath) {
    if (!testing::HaveOpensslDes()) GTEST_SKIP() << "openssl with DES (legacy provider) not found";
    testing::ScratchFolder dir{"vimbrel-des-paths"};
    Bytes data = testing::Pattern(200000 + 5, 3);
    testing::WriteBytes(dir / "plain", data);
    const std::string cmd = std::string(testing::OpensslDes()) +
                            " -des-cbc -e -K 3b3898371520f75e -iv 0d1f2e3c4b5a6978 -in '" +
                            std::string(dir / "plain") + "' -out '" + std::string(dir / "theirs") + "' 2>/dev/null";
    ASSERT_EQ(testing::Shell(cmd), 0);
    for (bs::Path p : AllPaths) {
        if (!bs::Available(p)) continue;
        SCOPED_TRACE(bs::Name(p));
        ForcedPath forced(p);
        TDES des;
        des.CipherMode = TCipherMode::CBC;
        des.SetKey(testing::AsText(FromHex("3b3898371520f75e")));
        des.SetIV(testing::AsText(FromHex("0d1f2e3c4b5a6978")));
        std::filesystem::remove(dir / "back");
        des.DecryptFile(dir / "theirs", dir / "back");
        EXPECT_EQ(testing::ReadBytes(dir / "back"), data);
    }
}
#endif

}  // namespace
}  // namespace vimbrel
