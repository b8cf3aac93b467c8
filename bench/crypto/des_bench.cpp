// Side by side: this cipher and OpenSSL's legacy DES on one 4096-byte chunk, the size the
// file cipher works in.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "crypto/des.h"
#include "crypto/des_bitslice.h"

// The DES_* functions are deprecated in OpenSSL 3 but are the reference being measured.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/des.h>

namespace {

constexpr std::size_t Size = 4096;
const char KeyText[] = "k3y!Tx7q";
const char IvText[] = "pLmOkNiJbHuVgYcF";

std::vector<std::uint8_t> Data() {
    std::vector<std::uint8_t> d(Size);
    for (std::size_t i = 0; i < Size; ++i) d[i] = static_cast<std::uint8_t>(i * 131 + 7);
    return d;
}

void Ready(vimbrel::TDES& des, vimbrel::TCipherMode mode) {
    des.CipherMode = mode;
    des.SetIV(IvText);
    des.SetKey(KeyText);
}

struct OpenSsl {
    DES_key_schedule ks;
    DES_cblock iv;
    OpenSsl() {
        DES_cblock key;
        std::memcpy(key, KeyText, 8);
        DES_set_key_unchecked(&key, &ks);
        std::memset(iv, 0x5a, 8);
    }
};

template <class Step>
void Measure(benchmark::State& state, Step step) {
    auto d = Data();
    for (auto _ : state) {
        step(d.data());
        benchmark::DoNotOptimize(d.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Size));
}

void Vimbrel_CbcEncrypt(benchmark::State& state) {
    vimbrel::TDES des;
    Ready(des, vimbrel::TCipherMode::CBC);
    Measure(state, [&](std::uint8_t* p) { des.EncryptBlocks({p, Size}); });
}

void Vimbrel_CbcDecrypt(benchmark::State& state) {
    vimbrel::TDES des;
    Ready(des, vimbrel::TCipherMode::CBC);
    Measure(state, [&](std::uint8_t* p) { des.DecryptBlocks({p, Size}); });
}

// The same with each bitsliced path forced.
void Vimbrel_CbcDecryptPath(benchmark::State& state) {
    namespace bs = vimbrel::des::bitslice;
    const auto path = static_cast<bs::Path>(state.range(0));
    if (!bs::Available(path)) {
        state.SkipWithError("path not available on this processor");
        return;
    }
    bs::Force(path);
    state.SetLabel(bs::Name(path));
    vimbrel::TDES des;
    Ready(des, vimbrel::TCipherMode::CBC);
    Measure(state, [&](std::uint8_t* p) { des.DecryptBlocks({p, Size}); });
    bs::Unforce();
}

void Vimbrel_EcbEncrypt(benchmark::State& state) {
    vimbrel::TDES des;
    Ready(des, vimbrel::TCipherMode::ECB);
    Measure(state, [&](std::uint8_t* p) { des.EncryptBlocks({p, Size}); });
}

void OpenSSL_CbcEncrypt(benchmark::State& state) {
    OpenSsl o;
    Measure(state, [&](std::uint8_t* p) { DES_ncbc_encrypt(p, p, Size, &o.ks, &o.iv, DES_ENCRYPT); });
}

void OpenSSL_CbcDecrypt(benchmark::State& state) {
    OpenSsl o;
    Measure(state, [&](std::uint8_t* p) { DES_ncbc_encrypt(p, p, Size, &o.ks, &o.iv, DES_DECRYPT); });
}

// OpenSSL's ECB call takes one block, so the chunk is a loop of calls.
void OpenSSL_EcbEncrypt(benchmark::State& state) {
    OpenSsl o;
    Measure(state, [&](std::uint8_t* p) {
        for (std::size_t i = 0; i < Size; i += 8) {
            auto* block = reinterpret_cast<DES_cblock*>(p + i);
            DES_ecb_encrypt(block, block, &o.ks, DES_ENCRYPT);
        }
    });
}

}  // namespace

BENCHMARK(Vimbrel_CbcEncrypt);
BENCHMARK(OpenSSL_CbcEncrypt);
BENCHMARK(Vimbrel_CbcDecrypt);
BENCHMARK(OpenSSL_CbcDecrypt);
BENCHMARK(Vimbrel_CbcDecryptPath)->DenseRange(0, 2);
BENCHMARK(Vimbrel_EcbEncrypt);
BENCHMARK(OpenSSL_EcbEncrypt);

#pragma GCC diagnostic pop

BENCHMARK_MAIN();
