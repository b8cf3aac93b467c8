// Strong files over real files: every size around the chunk boundaries comes back exactly,
// and every change a file can suffer (a byte flipped anywhere, a cut at any length, bytes
// added, chunks swapped, a wrong key) is refused with nothing plain left behind. The key
// stretching is set to its least here, so each refusal costs no time; the header carries
// what a file was written with, and the defaults are checked once.
#include <gtest/gtest.h>

#include <filesystem>

#include "crypto/enciphered_file.h"
#include "crypto/strong_file.h"
#include "scratch_folder.h"
#include "test_files.h"
#include "whole_files.h"

namespace vimbrel {
namespace {

using testing::Bytes;
using testing::Pattern;
using testing::ReadBytes;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr StrongParams kQuick{.passes = 1, .memoryKiB = 8, .chunkSize = 64};
constexpr const char* kKey = "the strong key";

class StrongFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir / name; }

    // A strong file of `plain`, written with the quick parameters.
    std::string Seal(const Bytes& plain, const std::string& name = "plain.vrs") {
        WriteBytes(Path("plain"), plain);
        EncryptFileStrong(kKey, Path("plain"), Path(name), kQuick);
        return Path(name);
    }

    // Deciphered as the program does it, by the file's own header. True when it opened.
    bool Opens(const std::string& file, const std::string& key = kKey) {
        TDES des;
        try {
            DecipherFile(des, key, file, Path("out"));
            return true;
        } catch (const ECipherTextError&) {
            EXPECT_FALSE(fs::exists(Path("out"))) << "a refused file leaves no output";
            return false;
        }
    }

    testing::ScratchFolder dir{"strong"};
};

TEST_F(StrongFileTest, EverySizeAroundTheChunksComesBackExactly) {
    for (std::size_t size : {0u, 1u, 63u, 64u, 65u, 128u, 1000u}) {
        SCOPED_TRACE(size);
        const Bytes plain = Pattern(size, unsigned(size) + 1);
        const std::string file = Seal(plain);
        const std::size_t chunks = size ? (size + 63) / 64 : 1;  // an empty content has one empty chunk
        EXPECT_EQ(fs::file_size(file), kStrongHeaderSize + size + chunks * kStrongChunkOverhead);
        EXPECT_EQ(CipherOfFile(file), FileCipher::Strong);
        ASSERT_TRUE(Opens(file));
        EXPECT_EQ(ReadBytes(Path("out")), plain);
        fs::remove(Path("out"));
    }
}

TEST_F(StrongFileTest, TheSameContentTwiceGivesTwoDifferentFiles) {
    const Bytes plain = Pattern(100);
    const Bytes first = ReadBytes(Seal(plain, "a.vrs")), second = ReadBytes(Seal(plain, "b.vrs"));
    ASSERT_EQ(first.size(), second.size());
    const StrongHeader a = ParseStrongHeader(first), b = ParseStrongHeader(second);
    EXPECT_NE(a.salt, b.salt) << "a salt of each file's own";
    EXPECT_NE(a.streamHeader, b.streamHeader) << "and a nonce";
    EXPECT_NE(Bytes(first.begin() + 64, first.end()), Bytes(second.begin() + 64, second.end()));
}

TEST_F(StrongFileTest, AWrongKeyIsRefusedAndWritesNothing) {
    const std::string file = Seal(Pattern(300));
    EXPECT_FALSE(Opens(file, "the strong kez"));
    EXPECT_FALSE(Opens(file, ""));
    EXPECT_TRUE(Opens(file));
}

TEST_F(StrongFileTest, EveryByteFlippedIsRefusedAndLeavesNoFile) {
    const Bytes sealed = ReadBytes(Seal(Pattern(150)));
    ASSERT_EQ(sealed.size(), 64u + 150u + 3 * 17u);
    for (std::size_t at = 0; at < sealed.size(); ++at) {
        for (std::uint8_t flip : {std::uint8_t(0x01), std::uint8_t(0xFF)}) {
            Bytes changed = sealed;
            changed[at] ^= flip;
            WriteBytes(Path("changed.vrs"), changed);
            EXPECT_FALSE(Opens(Path("changed.vrs"))) << "byte " << at << " xor " << int(flip);
        }
    }
}

TEST_F(StrongFileTest, EveryCutAddedByteAndSwappedChunkIsRefused) {
    const Bytes sealed = ReadBytes(Seal(Pattern(150)));
    for (std::size_t length = 0; length < sealed.size(); ++length) {
        WriteBytes(Path("cut.vrs"), Bytes(sealed.begin(), sealed.begin() + std::ptrdiff_t(length)));
        EXPECT_FALSE(Opens(Path("cut.vrs"))) << "cut to " << length;
    }
    Bytes longer = sealed;
    longer.push_back(0);
    WriteBytes(Path("longer.vrs"), longer);
    EXPECT_FALSE(Opens(Path("longer.vrs")));

    Bytes swapped = sealed;
    std::swap_ranges(swapped.begin() + 64, swapped.begin() + 64 + 81, swapped.begin() + 64 + 81);
    WriteBytes(Path("swapped.vrs"), swapped);
    EXPECT_FALSE(Opens(Path("swapped.vrs")));
}

TEST_F(StrongFileTest, AHeaderAskingTooMuchIsRefusedBeforeAnyKeyWork) {
    const Bytes sealed = ReadBytes(Seal(Pattern(10)));
    StrongHeader header = ParseStrongHeader(sealed);
    EXPECT_EQ(header.params, kQuick);
    const StrongParams beyond[] = {{kStrongParamsMax.passes + 1, 8, 64},
                                   {1, kStrongParamsMax.memoryKiB + 1, 64},
                                   {1, 8, kStrongParamsMax.chunkSize + 1},
                                   {0, 8, 64}};
    for (const StrongParams& p : beyond) {
        header.params = p;
        const auto bytes = SerializeStrongHeader(header);
        EXPECT_THROW(ParseStrongHeader(bytes), EStrongFileError) << p.passes << " " << p.memoryKiB << " " << p.chunkSize;
    }
    header.params = kQuick;
    header.version = 2;
    try {
        ParseStrongHeader(SerializeStrongHeader(header));
        ADD_FAILURE() << "a later version is not read as this one";
    } catch (const EStrongFileError& e) {
        EXPECT_NE(std::string(e.what()).find("version 2"), std::string::npos) << e.what();
    }
}

TEST_F(StrongFileTest, ANearlyWholeMagicStillMarksAStrongFile) {
    const Bytes sealed = ReadBytes(Seal(Pattern(10)));
    Bytes opening(sealed.begin(), sealed.begin() + 8);
    EXPECT_TRUE(LooksLikeStrongFile(opening));
    opening[0] ^= 1;
    opening[7] ^= 1;
    EXPECT_TRUE(LooksLikeStrongFile(opening)) << "two bytes off: a damaged strong file";
    opening[3] ^= 1;
    EXPECT_FALSE(LooksLikeStrongFile(opening)) << "three off: taken for DES";
    EXPECT_FALSE(LooksLikeStrongFile(Bytes(sealed.begin(), sealed.begin() + 7)));
}

TEST_F(StrongFileTest, DesFilesStillOpenAndTheChosenFormatIsWhatIsWritten) {
    const Bytes plain = Pattern(5000);
    WriteBytes(Path("plain"), plain);
    TDES des;
    EncipherFile(des, FileCipher::Des, kKey, Path("plain"), Path("old.vrx"));
    EXPECT_EQ(fs::file_size(Path("old.vrx")), 5008u) << "bare DES ciphertext, as before";
    EXPECT_EQ(CipherOfFile(Path("old.vrx")), FileCipher::Des);
    ASSERT_TRUE(Opens(Path("old.vrx")));
    EXPECT_EQ(ReadBytes(Path("out")), plain);
    fs::remove(Path("out"));

    // The defaults, as a file written without parameters records them.
    EncipherFile(des, FileCipher::Strong, kKey, Path("plain"), Path("new.vrs"));
    const std::optional<StrongHeader> header = ReadStrongHeader(Path("new.vrs"));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->params, StrongParams{});
    EXPECT_EQ(header->params.memoryKiB, 128u * 1024);
    ASSERT_TRUE(Opens(Path("new.vrs")));
    EXPECT_EQ(ReadBytes(Path("out")), plain);
}

TEST_F(StrongFileTest, InputsThatCannotBeReadOrWrittenSaySo) {
    EXPECT_THROW(EncryptFileStrong(kKey, Path("missing"), Path("x.vrs"), kQuick), EFileError);
    EXPECT_FALSE(fs::exists(Path("x.vrs")));
    const std::string file = Seal(Pattern(10));
    EXPECT_THROW(DecryptFileStrong(kKey, file, file), EFileError) << "never into itself";
    EXPECT_TRUE(Opens(file)) << "and the file is untouched";
}

}  // namespace
}  // namespace vimbrel
