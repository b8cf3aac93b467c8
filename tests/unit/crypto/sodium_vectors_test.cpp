// The primitives under the strong files, checked against the library's own known answers
// (libsodium's test/default/aead_xchacha20poly1305 and pwhash_argon2id), so a build of the
// library that computes anything else is caught here, natively and under Wine alike.
#include <gtest/gtest.h>

#include <sodium.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes FromHex(const std::string& hex) {
    Bytes b;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) b.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return b;
}

class SodiumVectors : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(sodium_init(), 0); }
};

TEST_F(SodiumVectors, XChaCha20Poly1305SealsTheLibrarysVectorAndRefusesAnyChange) {
    Bytes key(32), nonce = FromHex("07000000404142434445464748494a4b4c4d4e4f50515253");
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<unsigned char>(0x80 + i);
    const Bytes ad = FromHex("50515253c0c1c2c3c4c5c6c7");
    const std::string message =
        "Ladies and Gentlemen of the class of '99: If I could offer you only one tip for the future, sunscreen "
        "would be it.";
    const Bytes expected = FromHex(
        "f8ebea4875044066fc162a0604e171feecfb3d20425248563bcfd5a155dcc47bbda70b86e5ab9b55002bd1274c02db35"
        "321acd7af8b2e2d25015e136b7679458e9f43243bf719d639badb5feac03f80a19a96ef10cb1d15333a837b90946ba38"
        "54ee74da3f2585efc7e1e170e17e15e563e77601f4f85cafa8e5877614e143e68420");
    Bytes sealed(message.size() + crypto_aead_xchacha20poly1305_ietf_ABYTES);
    unsigned long long length = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(sealed.data(), &length,
                                               reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                                               ad.data(), ad.size(), nullptr, nonce.data(), key.data());
    ASSERT_EQ(length, sealed.size());
    EXPECT_EQ(sealed, expected);

    Bytes opened(message.size());
    EXPECT_EQ(crypto_aead_xchacha20poly1305_ietf_decrypt(opened.data(), &length, nullptr, sealed.data(),
                                                         sealed.size(), ad.data(), ad.size(), nonce.data(),
                                                         key.data()),
              0);
    EXPECT_EQ(std::string(opened.begin(), opened.end()), message);
    sealed[sealed.size() / 2] ^= 1;
    EXPECT_NE(crypto_aead_xchacha20poly1305_ietf_decrypt(opened.data(), &length, nullptr, sealed.data(),
                                                         sealed.size(), ad.data(), ad.size(), nonce.data(),
                                                         key.data()),
              0);
}

TEST_F(SodiumVectors, Argon2idDerivesTheLibrarysVector) {
    const Bytes password = FromHex(
        "a347ae92bce9f80f6f595a4480fc9c2fe7e7d7148d371e9487d75f5c23008ffae065577a928febd9b1973a5a95073acdbeb6a0"
        "30cfc0d79caa2dc5cd011cef02c08da232d76d52dfbca38ca8dcbd665b17d1665f7cf5fe59772ec909733b24de97d6f58d220b"
        "20c60d7c07ec1fd93c52c31020300c6c1facd77937a597c7a6");
    const Bytes salt = FromHex("5541fbc995d5c197ba290346d2c559dedf405cf97e5f95482143202f9e74f5c2");
    const Bytes expected = FromHex(
        "18acec5d6507739f203d1f5d9f1d862f7c2cdac4f19d2bdff64487e60d969e3ced615337b9eec6ac4461c6ca07f0939741e57c"
        "24d0005c7ea171a0ee1e7348249d135b38f222e4dad7b9a033ed83f5ca27277393e316582033c74affe2566a2bea47f91f0fd9"
        "fe49ece7e1f79f3ad6e9b23e0277c8ecc4b313225748dd2a80f5679534a0700e246a79a49b3f74eb89ec6205fe1eeb941c73b1"
        "fcf1");
    ASSERT_EQ(password.size(), 127u);
    Bytes out(155);
    ASSERT_EQ(crypto_pwhash(out.data(), out.size(), reinterpret_cast<const char*>(password.data()), password.size(),
                            salt.data(), 5, 7256678, crypto_pwhash_ALG_ARGON2ID13),
              0);
    EXPECT_EQ(out, expected);
}

}  // namespace
