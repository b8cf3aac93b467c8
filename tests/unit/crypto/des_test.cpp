#include "crypto/des.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace vimbrel {
namespace {

using testing::Bytes;
using testing::FromHex;
using testing::Hex;
using testing::Pattern;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

std::string KeyText(const std::string& hex) { return testing::AsText(FromHex(hex)); }

Bytes Encrypt(TDES& des, Bytes data) {
    des.EncryptBlocks(data);
    return data;
}

Bytes Decrypt(TDES& des, Bytes data) {
    des.DecryptBlocks(data);
    return data;
}

// Single blocks from the standard's validation sets: the worked example, variable
// plaintext, variable key, and substitution-table entries (parity bits set or not).
TEST(DesBlock, KnownAnswers) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    } cases[] = {
        {"133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
        {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
        {"0101010101010101", "4000000000000000", "dd7f121ca5015619"},
        {"0101010101010101", "0000000000000001", "166b40b44aba4bd6"},
        {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
        {"7ca110454a1a6e57", "01a1d6d039776742", "690f5b0d9a26939b"},
        {"0131d9619dc1376e", "5cd54ca83def57da", "7a389d10354bd271"},
        {"07a1133e4a0b2686", "0248d43806f67172", "868ebb51cab4599a"},
        {"3849674c2602319e", "51454b582ddf440a", "7178876e01f19b2a"},
        // Parity bits are ignored: the same key with every low bit flipped.
        {"0000000000000000", "0000000000000000", "8ca64de9c1b123a7"},
        {"0101010101010101", "0000000000000000", "8ca64de9c1b123a7"},
    };
    for (const auto& c : cases) {
        TDES des;
        des.CipherMode = TCipherMode::ECB;
        des.SetKey(KeyText(c.key));
        EXPECT_EQ(Hex(Encrypt(des, FromHex(c.plain))), c.cipher) << c.key;
        EXPECT_EQ(Hex(Decrypt(des, FromHex(c.cipher))), c.plain) << c.key;
    }
}

// The published mode examples: key 0123456789abcdef, IV 1234567890abcdef, the text
// "Now is the time for all ", 64-bit feedback.
TEST(DesBlock, ModeExamples) {
    const std::string text = "Now is the time for all ";
    struct Case {
        TCipherMode mode;
        const char* cipher;
    } cases[] = {
        {TCipherMode::ECB, "3fa40e8a984d48156a271787ab8883f9893d51ec4b563b53"},
        {TCipherMode::CBC, "e5c7cdde872bf27c43e934008c389c0f683788499a7c05f6"},
        {TCipherMode::CFB, "f3096249c7f46e51a69e839b1a92f78403467133898ea622"},
        {TCipherMode::OFB, "f3096249c7f46e5135f24a242eeb3d3f3d6d5be3255af8c3"},
    };
    for (const auto& c : cases) {
        TDES des;
        des.CipherMode = c.mode;
        des.SetKey(KeyText("0123456789abcdef"));
        des.SetIV(KeyText("1234567890abcdef"));
        EXPECT_EQ(Hex(Encrypt(des, Bytes(text.begin(), text.end()))), c.cipher) << int(c.mode);
        des.SetIV(KeyText("1234567890abcdef"));
        EXPECT_EQ(testing::AsText(Decrypt(des, FromHex(c.cipher))), text) << int(c.mode);
    }
}

// Blocks split over several calls chain exactly like one call (the lanes of the
// interleaved decryption must hand the chaining value on at any split).
TEST(DesBlock, ChainingCarriesAcrossCalls) {
    const Bytes data = Pattern(8 * 23);
    for (auto mode : {TCipherMode::CBC, TCipherMode::ECB, TCipherMode::CFB, TCipherMode::OFB}) {
        TDES whole, parts;
        for (TDES* d : {&whole, &parts}) {
            d->CipherMode = mode;
            d->SetKey("chaining");
            d->SetIV("iv");
        }
        Bytes once = Encrypt(whole, data);
        // Uneven splits, so the interleaved lanes start at every offset.
        const std::size_t steps[] = {8, 40, 16, 32, 24, 56, 8};
        auto inPieces = [&](Bytes bytes, bool encrypt) {
            std::size_t at = 0;
            for (std::size_t i = 0; at < bytes.size(); ++i) {
                std::size_t n = std::min(steps[i % std::size(steps)], bytes.size() - at);
                auto piece = std::span(bytes).subspan(at, n);
                encrypt ? parts.EncryptBlocks(piece) : parts.DecryptBlocks(piece);
                at += n;
            }
            return bytes;
        };
        Bytes split = inPieces(data, true);
        EXPECT_EQ(once, split) << int(mode);
        parts.SetIV("iv");
        split = inPieces(split, false);
        EXPECT_EQ(split, data) << int(mode);
    }
}

TEST(DesBlock, RejectsPartialBlocks) {
    TDES des;
    des.CipherMode = TCipherMode::ECB;
    des.SetKey("12345678");
    Bytes odd(12);
    EXPECT_THROW(des.EncryptBlocks(odd), std::invalid_argument);
}

// Key: each character overwrites byte (position mod 8). IV: each is XORed in.
TEST(DesKeyText, FoldingRules) {
    auto cipherOf = [](const std::string& key, const std::string& iv) {
        TDES des;
        des.SetKey(key);
        des.SetIV(iv);
        return Encrypt(des, Bytes(16, 0x41));
    };
    const std::string iv = "iv";
    EXPECT_EQ(cipherOf("abcdefgh", iv), cipherOf("XXXXXXXXabcdefgh", iv));
    EXPECT_EQ(cipherOf("abcdefgh", iv), cipherOf("YYYYYYYYYYYYYYYYabcdefgh", iv));
    EXPECT_EQ(cipherOf("0123456789", iv), cipherOf("89234567", iv));
    EXPECT_EQ(cipherOf("abc", iv), cipherOf(std::string("abc\0\0\0\0\0", 8), iv));
    EXPECT_NE(cipherOf("abcdefgh", iv), cipherOf("abcdefgj", iv));
    // 'h' and 'i' differ only in the parity bit, which DES ignores.
    EXPECT_EQ(cipherOf("abcdefgh", iv), cipherOf("abcdefgi", iv));

    const std::string key = "the key!";
    EXPECT_EQ(cipherOf(key, "ab"), cipherOf(key, std::string("ab\0\0\0\0\0\0", 8)));
    // Repeating 8 characters cancels out to the all-zero IV.
    EXPECT_EQ(cipherOf(key, "abcdefghabcdefgh"), cipherOf(key, ""));
    EXPECT_EQ(cipherOf(key, "pLmOkNiJbHuVgYcF"), cipherOf(key, KeyText("120418190c170a0c")));
    EXPECT_NE(cipherOf(key, "ab"), cipherOf(key, "ba"));
}

TEST(DesKeyText, SameInputSameOutputAndIVMattersFromFirstBlock) {
    auto run = [](const std::string& ivText) {
        TDES des;
        des.SetIV(ivText);
        des.SetKey("samekey!");
        return Encrypt(des, Pattern(64));
    };
    EXPECT_EQ(run("first"), run("first"));
    Bytes a = run("first"), b = run("second");
    EXPECT_FALSE(std::equal(a.begin(), a.begin() + 8, b.begin()));
}

class DesFile : public ::testing::Test {
protected:
    void Ready(TCipherMode mode = TCipherMode::CBC) {
        des.CipherMode = mode;
        des.SetIV("pLmOkNiJbHuVgYcF");
        des.SetKey("file key");
    }

    ScratchFolder dir{"vimbrel-crypto"};
    TDES des;
    std::string plain = dir / "plain.bin", cipher = dir / "plain.bin.vrx", back = dir / "back.bin";
};

// Lengths around the 4096-byte chunk, empty input included (one block of eights): the
// padding is 1 to 8 bytes of the pad count and the chaining runs through the chunks as
// one stream, the same as one in-memory pass.
TEST_F(DesFile, RoundTripsAcrossChunkBoundaries) {
    for (auto mode : {TCipherMode::CBC, TCipherMode::ECB, TCipherMode::CFB, TCipherMode::OFB}) {
        for (std::size_t size : {0, 1, 7, 8, 4095, 4096, 4097, 8191, 8192, 12289}) {
            SCOPED_TRACE(::testing::Message() << "mode " << int(mode) << " size " << size);
            Bytes data = Pattern(size, static_cast<unsigned>(size));
            WriteBytes(plain, data);
            Ready(mode);
            des.EncryptFile(plain, cipher);
            Bytes out = ReadBytes(cipher);
            ASSERT_EQ(out.size(), size / 8 * 8 + 8);

            Bytes padded = data;
            padded.insert(padded.end(), 8 - size % 8, static_cast<std::uint8_t>(8 - size % 8));
            Ready(mode);
            EXPECT_EQ(out, Encrypt(des, padded));

            Ready(mode);
            des.DecryptFile(cipher, back);
            EXPECT_EQ(ReadBytes(back), data);
        }
    }
}

TEST_F(DesFile, KeyAndIVChecks) {
    WriteBytes(plain, Pattern(20));
    auto message = [&](auto&& op) -> std::string {
        try {
            op();
        } catch (const EKeyError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(message([&] { des.EncryptFile(plain, cipher); }), "DES: Key not set");

    for (auto mode : {TCipherMode::CBC, TCipherMode::CFB, TCipherMode::OFB}) {
        TDES fresh;
        fresh.CipherMode = mode;
        fresh.SetKey("no iv yet");
        EXPECT_EQ(message([&] { fresh.EncryptFile(plain, cipher); }), "DES: IV not set");
        EXPECT_EQ(message([&] { fresh.DecryptFile(plain, cipher); }), "DES: IV not set");
    }
    EXPECT_FALSE(std::filesystem::exists(cipher));

    TDES ecb;
    ecb.CipherMode = TCipherMode::ECB;
    ecb.SetKey("no iv needed");
    ecb.EncryptFile(plain, cipher);
    ecb.DecryptFile(cipher, back);
    EXPECT_EQ(ReadBytes(back), Pattern(20));

    Ready();
    des.Burn();
    EXPECT_EQ(message([&] { des.EncryptFile(plain, cipher); }), "DES: Key not set");
    EXPECT_EQ(message([&] { des.DecryptFile(cipher, back); }), "DES: Key not set");
    des.SetKey("file key");
    EXPECT_EQ(message([&] { des.EncryptFile(plain, cipher); }), "DES: IV not set");
}

TEST_F(DesFile, FileErrors) {
    auto message = [&](auto&& op) -> std::string {
        try {
            op();
        } catch (const EFileError& e) {
            return e.what();
        }
        return "no error";
    };
    Ready();
    EXPECT_EQ(message([&] { des.EncryptFile(dir / "missing", cipher); }), "DES: Input file not found");
    EXPECT_EQ(message([&] { des.DecryptFile(dir / "missing", cipher); }), "DES: Input file not found");
    WriteBytes(plain, Pattern(100));
    EXPECT_EQ(message([&] { des.EncryptFile(plain, dir / "no/such/dir/out"); }), "DES: Could not open output file");
    // Writing onto the input would truncate it before it is read.
    EXPECT_EQ(message([&] { des.EncryptFile(plain, plain); }), "DES: Could not open output file");
    EXPECT_EQ(ReadBytes(plain), Pattern(100));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(message([&] { des.EncryptFile(plain, "/dev/full"); }).rfind("DES: Error writing output file", 0), 0u);
    }
}

// Ciphertext that cannot come from EncryptFile is refused before anything is written.
TEST_F(DesFile, RefusesTruncatedAndDamagedCiphertext) {
    auto refuses = [&](const Bytes& ciphertext) {
        WriteBytes(cipher, ciphertext);
        Ready();
        bool refused = false;
        try {
            des.DecryptFile(cipher, back);
        } catch (const ECipherTextError&) {
            refused = true;
        }
        return refused && !std::filesystem::exists(back);
    };
    WriteBytes(plain, Pattern(5000));
    Ready();
    des.EncryptFile(plain, cipher);
    const Bytes good = ReadBytes(cipher);

    EXPECT_TRUE(refuses({}));
    EXPECT_TRUE(refuses(Bytes(good.begin(), good.begin() + 7)));
    EXPECT_TRUE(refuses(Bytes(good.begin(), good.end() - 1)));
    EXPECT_TRUE(refuses(Bytes(good.begin(), good.begin() + 4097)));

    // Final pad counts of 0, 9 and 255 (each the last byte of the deciphered data).
    for (std::uint8_t last : {0, 9, 255}) {
        Bytes data = Pattern(4096 + 16);
        data.back() = last;
        Ready();
        EXPECT_TRUE(refuses(Encrypt(des, data))) << int(last);
    }
}

// Only the final count is read: pad bytes before it are not compared.
TEST_F(DesFile, PadCountAloneDecidesTheLength) {
    for (std::uint8_t count = 1; count <= 8; ++count) {
        Bytes data = Pattern(24, count);
        data.back() = count;
        Ready();
        WriteBytes(cipher, Encrypt(des, data));
        Ready();
        des.DecryptFile(cipher, back);
        EXPECT_EQ(ReadBytes(back), Bytes(data.begin(), data.end() - count));
    }
}

TEST_F(DesFile, WrongKeyNeverGivesThePlainFile) {
    Bytes data = Pattern(3000);
    WriteBytes(plain, data);
    Ready();
    des.EncryptFile(plain, cipher);
    for (const char* wrong : {"file kez", "another key", "FILE KEY"}) {
        des.SetIV("pLmOkNiJbHuVgYcF");
        des.SetKey(wrong);
        try {
            des.DecryptFile(cipher, back);
            EXPECT_NE(ReadBytes(back), data);
        } catch (const ECipherTextError&) {
            EXPECT_FALSE(std::filesystem::exists(back));
        }
    }
}

TEST_F(DesFile, KeyScopeBurnsOnEveryWayOut) {
    WriteBytes(plain, Pattern(100));
    EncryptFileWithKey(des, "pLmOkNiJbHuVgYcF", "file key", plain, cipher);
    EXPECT_THROW(des.EncryptFile(plain, cipher), EKeyError);

    EXPECT_THROW(DecryptFileWithKey(des, "pLmOkNiJbHuVgYcF", "file key", dir / "missing", back), EFileError);
    EXPECT_THROW(des.EncryptFile(plain, cipher), EKeyError);

    DecryptFileWithKey(des, "pLmOkNiJbHuVgYcF", "file key", cipher, back);
    EXPECT_EQ(ReadBytes(back), Pattern(100));

    TDESKeyScope scope(des, "pLmOkNiJbHuVgYcF", "file key");
    scope.EncryptFile(plain, cipher);
    EXPECT_THROW(scope.DecryptFile(cipher, back), std::logic_error);
}

}  // namespace
}  // namespace vimbrel
