// Runs the built vrx as a user would, with the key on standard input.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"
#include "version.h"
#include "vrx/vrx_tool.h"

namespace vimbrel {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Pattern;
using testing::ReadBytes;
using testing::WriteBytes;

// Key and IV bytes that the key text "correct horse" and the built-in IV text fold to.
const char* const KeyText = "correct horse";
const char* const KeyHex = "686f727365637420";
const char* const IvHex = "120418190c170a0c";

class Vrx : public ::testing::Test {
protected:
    int Run(const std::string& args, const std::string& key = KeyText) {
        return testing::Shell("printf '%s\\n' '" + key + "' | '" VRX_PATH "' " + args +
                              " --key-stdin >'" + dir / "stdout" + "' 2>'" + dir / "stderr" + "'");
    }
    std::string Stderr() { return testing::AsText(ReadBytes(dir / "stderr")); }

    // Nothing but the named files in the folder (no temporary leftovers).
    std::vector<std::string> Files() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path())) {
            std::string n = e.path().filename().string();
            if (n != "stdout" && n != "stderr") names.push_back(n);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testing::ScratchFolder dir{"vimbrel-crypto"};
};

TEST_F(Vrx, RoundTripsAndOpensslReadsWhatItWrites) {
    const bool haveOpenssl = testing::HaveOpensslDes();
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(4095), std::size_t(4096),
                             std::size_t(4097), std::size_t(10) << 20}) {
        SCOPED_TRACE(size);
        const Bytes data = Pattern(size, 3);
        WriteBytes(dir / "shot.bmp", data);
        ASSERT_EQ(Run("encrypt '" + dir / "shot.bmp" + "'"), 0) << Stderr();
        ASSERT_EQ(ReadBytes(dir / "shot.bmp.VRX").size(), size / 8 * 8 + 8);
        EXPECT_EQ(testing::AsText(ReadBytes(dir / "stdout")), dir / "shot.bmp.VRX" + "\n");

        if (haveOpenssl) {
            ASSERT_EQ(testing::Shell(std::string(testing::OpensslDes()) + " -d -des-cbc -K " + KeyHex + " -iv " +
                                     IvHex + " -in '" + dir / "shot.bmp.VRX" + "' -out '" + dir / "openssl.bmp" + "'"),
                      0);
            EXPECT_EQ(ReadBytes(dir / "openssl.bmp"), data);
            fs::remove(dir / "openssl.bmp");
        }

        fs::remove(dir / "shot.bmp");
        ASSERT_EQ(Run("decrypt '" + dir / "shot.bmp.VRX" + "'"), 0) << Stderr();
        EXPECT_EQ(ReadBytes(dir / "shot.bmp"), data);
        fs::remove(dir / "shot.bmp.VRX");
        fs::remove(dir / "shot.bmp");
    }
    if (!haveOpenssl) GTEST_SKIP() << "openssl with DES (legacy provider) not found; vrx output not checked against it";
}

TEST_F(Vrx, DerivesThePlainNameOfOlderFiles) {
    WriteBytes(dir / "photo.jpg", Pattern(300));
    ASSERT_EQ(Run("encrypt '" + dir / "photo.jpg" + "' -o '" + dir / "photo.jpgx" + "'"), 0) << Stderr();
    fs::remove(dir / "photo.jpg");
    ASSERT_EQ(Run("decrypt '" + dir / "photo.jpgx" + "'"), 0) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "photo.jpg"), Pattern(300));

    // No name can be derived from a name that does not mark an encrypted file.
    WriteBytes(dir / "notes.txt", Pattern(10));
    EXPECT_EQ(Run("decrypt '" + dir / "notes.txt" + "'"), 2);
}

TEST_F(Vrx, KeepsExistingFilesUnlessForced) {
    WriteBytes(dir / "a.txt", Pattern(100));
    WriteBytes(dir / "a.txt.VRX", Bytes{1, 2, 3});
    EXPECT_EQ(Run("encrypt '" + dir / "a.txt" + "'"), 1);
    EXPECT_NE(Stderr().find("--force"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir / "a.txt.VRX"), (Bytes{1, 2, 3}));

    ASSERT_EQ(Run("encrypt --force '" + dir / "a.txt" + "'"), 0) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "a.txt.VRX").size(), 104u);
    EXPECT_EQ(Run("decrypt '" + dir / "a.txt.VRX" + "'"), 1);
    EXPECT_EQ(ReadBytes(dir / "a.txt"), Pattern(100));
}

TEST_F(Vrx, FailuresLeaveNothingBehind) {
    WriteBytes(dir / "a.txt", Pattern(5000));
    EXPECT_EQ(Run("encrypt '" + dir / "a.txt" + "'", "short"), 1);
    EXPECT_NE(Stderr().find("8 characters"), std::string::npos);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.txt"});

    ASSERT_EQ(Run("encrypt '" + dir / "a.txt" + "'"), 0);
    fs::remove(dir / "a.txt");
    // Wrong keys (not differing only in parity bits or in characters that later ones
    // overwrite): refused (bad pad count) or garbage, never the plain file, never leftovers.
    for (const char* wrong : {"correct horsx", "correct Horse", "battery staple"}) {
        int rc = Run("decrypt '" + dir / "a.txt.VRX" + "'", wrong);
        if (rc == 0) {
            EXPECT_NE(ReadBytes(dir / "a.txt"), Pattern(5000));
            fs::remove(dir / "a.txt");
        } else {
            EXPECT_EQ(rc, 1);
            EXPECT_NE(Stderr().find("DES: "), std::string::npos) << Stderr();
        }
        EXPECT_EQ(Files(), std::vector<std::string>{"a.txt.VRX"});
    }

    Bytes truncated = ReadBytes(dir / "a.txt.VRX");
    truncated.resize(4099);
    WriteBytes(dir / "cut.vrx", truncated);
    EXPECT_EQ(Run("decrypt '" + dir / "cut.vrx" + "'"), 1);
    EXPECT_FALSE(fs::exists(dir / "cut"));
    EXPECT_EQ(Run("encrypt '" + dir / "missing" + "'"), 1);
}

TEST_F(Vrx, FolderAsOutputIsAnErrorEvenWithForce) {
    WriteBytes(dir / "a.txt", Pattern(100));
    fs::create_directory(dir / "empty");
    for (const char* force : {"", " --force"}) {
        SCOPED_TRACE(force);
        EXPECT_EQ(Run("encrypt '" + dir / "a.txt" + "' -o '" + dir / "empty" + "'" + force), 1);
        EXPECT_NE(Stderr().find("folder"), std::string::npos) << Stderr();
        EXPECT_TRUE(fs::is_directory(dir / "empty"));
    }
    // A name that derives a folder: sub/.vrx would decipher to sub/ itself.
    fs::create_directory(dir / "sub");
    ASSERT_EQ(Run("encrypt '" + dir / "a.txt" + "' -o '" + dir / "sub/.vrx" + "'"), 0) << Stderr();
    EXPECT_EQ(Run("decrypt '" + dir / "sub/.vrx" + "' --force"), 1);
    EXPECT_NE(Stderr().find("folder"), std::string::npos) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "sub/.vrx").size(), 104u);
    EXPECT_TRUE(fs::is_empty(dir / "empty"));
}

TEST_F(Vrx, LeftOverPartialFileIsNamedNeverSkippedOrWrittenThrough) {
    WriteBytes(dir / "a.txt", Pattern(100));
    WriteBytes(dir / "a.txt.VRX.vrx-part", Bytes{7});
    EXPECT_EQ(Run("encrypt '" + dir / "a.txt" + "'"), 1);
    EXPECT_NE(Stderr().find("a.txt.VRX.vrx-part exists"), std::string::npos) << Stderr();
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.txt", "a.txt.VRX.vrx-part"}));

    // With --force it goes, and so does a link planted in its place, without its target
    // being written.
    WriteBytes(dir / "outside", Bytes{1, 2});
    fs::remove(dir / "a.txt.VRX.vrx-part");
    fs::create_symlink(dir / "outside", dir / "a.txt.VRX.vrx-part");
    ASSERT_EQ(Run("encrypt --force '" + dir / "a.txt" + "'"), 0) << Stderr();
    EXPECT_NE(Stderr().find("removed"), std::string::npos) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "outside"), (Bytes{1, 2}));
    EXPECT_EQ(ReadBytes(dir / "a.txt.VRX").size(), 104u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.txt", "a.txt.VRX", "outside"}));
}

TEST_F(Vrx, UsageErrors) {
    EXPECT_EQ(testing::Shell("'" VRX_PATH "' --help >'" + dir / "stdout" + "'"), 0);
    EXPECT_NE(testing::AsText(ReadBytes(dir / "stdout")).find("Usage: vrx encrypt FILE"), std::string::npos);
    EXPECT_EQ(testing::Shell("'" VRX_PATH "' --version >'" + dir / "stdout" + "'"), 0);
    EXPECT_EQ(testing::AsText(ReadBytes(dir / "stdout")), "vrx " VIMBREL_VERSION_TEXT "\n");
    WriteBytes(dir / "a.txt", Pattern(10));
    EXPECT_EQ(Run("encrypt '" + dir / "a.txt" + "' --key=secret123"), 2);
    EXPECT_NE(Stderr().find("never taken from the command line"), std::string::npos);
    EXPECT_EQ(Run("scramble '" + dir / "a.txt" + "'"), 2);
    EXPECT_EQ(Run("encrypt"), 2);
    EXPECT_EQ(Run("encrypt a b"), 2);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.txt"});
}

TEST_F(Vrx, StrongFilesRoundTripAndDecryptReadsEitherFormat) {
    const Bytes data = Pattern(200000, 5);
    WriteBytes(dir / "shot.png", data);
    ASSERT_EQ(Run("encrypt --cipher strong '" + dir / "shot.png" + "'"), 0) << Stderr();
    EXPECT_EQ(testing::AsText(ReadBytes(dir / "stdout")), dir / "shot.png.VRS" + "\n");
    ASSERT_EQ(Run("encrypt --cipher=des '" + dir / "shot.png" + "'"), 0) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "shot.png.VRX").size(), 200008u) << "des as before";
    fs::remove(dir / "shot.png");

    ASSERT_EQ(Run("info '" + dir / "shot.png.VRS" + "'"), 0) << Stderr();
    const std::string info = testing::AsText(ReadBytes(dir / "stdout"));
    EXPECT_NE(info.find("strong, format version 1"), std::string::npos) << info;
    EXPECT_NE(info.find("Argon2id v1.3, 3 passes over 131072 KiB"), std::string::npos) << info;
    EXPECT_NE(info.find("XChaCha20-Poly1305"), std::string::npos) << info;
    ASSERT_EQ(Run("info '" + dir / "shot.png.VRX" + "'"), 0) << Stderr();
    EXPECT_NE(testing::AsText(ReadBytes(dir / "stdout")).find(": des ("), std::string::npos);

    // Named as the other format, each is still read as what it holds.
    fs::rename(dir / "shot.png.VRS", dir / "strong.png.vrx");
    ASSERT_EQ(Run("decrypt '" + dir / "strong.png.vrx" + "'"), 0) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "strong.png"), data);
    ASSERT_EQ(Run("decrypt '" + dir / "shot.png.VRX" + "'"), 0) << Stderr();
    EXPECT_EQ(ReadBytes(dir / "shot.png"), data);
}

TEST_F(Vrx, AStrongFileWithAWrongKeyOrAChangeIsRefusedAndLeavesNothing) {
    WriteBytes(dir / "a.txt", Pattern(1000));
    ASSERT_EQ(Run("encrypt --cipher strong '" + dir / "a.txt" + "'"), 0) << Stderr();
    fs::remove(dir / "a.txt");
    EXPECT_EQ(Run("decrypt '" + dir / "a.txt.VRS" + "'", "correct horsf"), 1);
    EXPECT_NE(Stderr().find("Wrong key or damaged encrypted file"), std::string::npos) << Stderr();
    Bytes changed = ReadBytes(dir / "a.txt.VRS");
    changed[500] ^= 4;
    WriteBytes(dir / "a.txt.VRS", changed);
    EXPECT_EQ(Run("decrypt '" + dir / "a.txt.VRS" + "'"), 1);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.txt.VRS"});

    EXPECT_EQ(Run("decrypt --cipher strong '" + dir / "a.txt.VRS" + "'"), 2) << "the file says its format";
    EXPECT_EQ(Run("encrypt --cipher aes '" + dir / "a.txt.VRS" + "'"), 2);
    EXPECT_NE(Stderr().find("unknown cipher aes"), std::string::npos) << Stderr();
}

// Without --key-stdin and without a terminal, the key is not read from a pipe.
TEST_F(Vrx, AsksTheTerminalOnly) {
    WriteBytes(dir / "a.txt", Pattern(10));
    EXPECT_EQ(testing::Shell("printf 'correct horse\\n' | '" VRX_PATH "' encrypt '" + dir / "a.txt" + "' 2>'" +
                             dir / "stderr" + "'"),
              1);
    EXPECT_NE(Stderr().find("not a terminal"), std::string::npos);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.txt"});
}

}  // namespace
}  // namespace vimbrel
