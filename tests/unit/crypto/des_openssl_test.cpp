// The same key and IV bytes give the same files as the openssl command, both ways.
#include <gtest/gtest.h>

#include "crypto/des.h"
#include "test_files.h"

namespace vimbrel {
namespace {

using testing::Bytes;
using testing::Pattern;
using testing::ReadBytes;
using testing::WriteBytes;

const std::string KeyHex = "3b3898371520f75e";
const std::string IvHex = "0d1f2e3c4b5a6978";

struct ModeCase {
    TCipherMode mode;
    const char* cipher;
    bool padded;  // openssl pads CBC and ECB as the component does; CFB and OFB get -nopad
};

const ModeCase Modes[] = {
    {TCipherMode::CBC, "des-cbc", true},
    {TCipherMode::ECB, "des-ecb", true},
    {TCipherMode::CFB, "des-cfb", false},
    {TCipherMode::OFB, "des-ofb", false},
};

class DesOpenssl : public ::testing::TestWithParam<ModeCase> {
protected:
    void SetUp() override {
        if (!testing::HaveOpensslDes()) GTEST_SKIP() << "openssl with DES (legacy provider) not found; interop not checked";
    }

    void Ready() {
        des.CipherMode = GetParam().mode;
        des.SetKey(testing::AsText(testing::FromHex(KeyHex)));
        des.SetIV(testing::AsText(testing::FromHex(IvHex)));
    }

    int Openssl(bool encrypt, const std::string& in, const std::string& out) {
        const ModeCase& m = GetParam();
        std::string cmd = std::string(testing::OpensslDes()) + " -" + m.cipher + (encrypt ? " -e" : " -d") +
                          " -K " + KeyHex + (m.mode == TCipherMode::ECB ? "" : " -iv " + IvHex) +
                          (m.padded ? "" : " -nopad") + " -in '" + in + "' -out '" + out + "' 2>/dev/null";
        return testing::Shell(cmd);
    }

    testing::ScratchFolder dir{"vimbrel-crypto"};
    TDES des;
};

TEST_P(DesOpenssl, SameCiphertextBothWays) {
    for (std::size_t size : {0, 5, 8, 4095, 4096, 4100, 9000}) {
        SCOPED_TRACE(size);
        Bytes data = Pattern(size, 7);
        WriteBytes(dir / "plain", data);
        // CFB and OFB: openssl gets the input already padded the way the component pads it.
        Bytes padded = data;
        padded.insert(padded.end(), 8 - size % 8, static_cast<std::uint8_t>(8 - size % 8));
        WriteBytes(dir / "padded", padded);
        const std::string opensslIn = GetParam().padded ? dir / "plain" : dir / "padded";

        Ready();
        des.EncryptFile(dir / "plain", dir / "ours");
        ASSERT_EQ(Openssl(true, opensslIn, dir / "theirs"), 0);
        EXPECT_EQ(ReadBytes(dir / "ours"), ReadBytes(dir / "theirs"));

        Ready();
        des.DecryptFile(dir / "theirs", dir / "ours-back");
        EXPECT_EQ(ReadBytes(dir / "ours-back"), data);

        ASSERT_EQ(Openssl(false, dir / "ours", dir / "theirs-back"), 0);
        EXPECT_EQ(ReadBytes(dir / "theirs-back"), GetParam().padded ? data : padded);
    }
}

INSTANTIATE_TEST_SUITE_P(AllModes, DesOpenssl, ::testing::ValuesIn(Modes),
                         [](const auto& p) { return std::string(p.param.cipher).substr(4); });

}  // namespace
}  // namespace vimbrel
