// The bitsliced CBC decryption of every path the processor has (scalar, SSE2, AVX2) must
// give the bytes of the table-driven single-block reference, under any key and IV, for any
// number of blocks and any split into calls. Input: 8 key bytes, 8 IV bytes, 2 bytes for
// the block count (up to 1199, so whole AVX2 batches of 256 and the rest both occur), 1
// byte for the split, then the seed bytes the ciphertext is spun from.
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "crypto/des.h"
#include "crypto/des_bitslice.h"
#include "crypto/des_core.h"

namespace {

namespace bs = vimbrel::des::bitslice;
namespace des = vimbrel::des;

std::vector<std::uint8_t> Reference(const std::uint8_t* key, const std::uint8_t* iv, const std::vector<std::uint8_t>& c) {
    des::Schedule enc, dec;
    des::MakeSchedules(key, enc, dec);
    std::vector<std::uint8_t> out(c.size());
    std::uint8_t prev[8];
    std::memcpy(prev, iv, 8);
    for (std::size_t i = 0; i < c.size(); i += 8) {
        std::uint32_t hi = des::LoadBE(&c[i]), lo = des::LoadBE(&c[i + 4]);
        des::Crypt(hi, lo, dec);
        des::StoreBE(&out[i], hi);
        des::StoreBE(&out[i + 4], lo);
        for (int j = 0; j < 8; ++j) out[i + j] ^= prev[j];
        std::memcpy(prev, &c[i], 8);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 19) return 0;
    const std::uint8_t* key = data;
    const std::uint8_t* iv = data + 8;
    const std::size_t blocks = ((std::size_t(data[16]) << 8) | data[17]) % 1200;
    const unsigned split = data[18];
    const std::uint8_t* seed = data + 19;
    const std::size_t seedSize = size - 19;

    std::vector<std::uint8_t> cipher(8 * blocks);
    for (std::size_t i = 0; i < cipher.size(); ++i)
        cipher[i] = static_cast<std::uint8_t>((seedSize ? seed[i % seedSize] : 0) ^ (i / (seedSize ? seedSize : 1)) * 0x9d);
    const std::vector<std::uint8_t> want = Reference(key, iv, cipher);

    for (bs::Path p : {bs::Path::Scalar, bs::Path::Sse2, bs::Path::Avx2}) {
        if (!bs::Available(p)) continue;
        bs::Force(p);
        vimbrel::TDES tdes;
        tdes.CipherMode = vimbrel::TCipherMode::CBC;
        tdes.SetKey(std::string(reinterpret_cast<const char*>(key), 8));
        tdes.SetIV(std::string(reinterpret_cast<const char*>(iv), 8));
        std::vector<std::uint8_t> got = cipher;
        // Calls of (split + 1) blocks, or one call when split is 0.
        const std::size_t step = split ? split + 1 : blocks;
        for (std::size_t at = 0; at < blocks; at += step) {
            std::size_t n = std::min(step, blocks - at);
            tdes.DecryptBlocks({got.data() + 8 * at, 8 * n});
        }
        bs::Unforce();
        if (got != want) __builtin_trap();
    }
    return 0;
}
