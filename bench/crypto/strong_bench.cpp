// The strong format's chunks in memory: libsodium's XChaCha20-Poly1305 secret stream as the
// format drives it (64 KiB chunks), without the files and without the key stretching, and
// the key stretching alone at the format's defaults. bench/strong_vs_openssl.sh puts the
// whole vrx process beside these.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "crypto/strong_cipher.h"

namespace {

void BM_StrongSealChunks(benchmark::State& state) {
    vimbrel::StrongParams quick;
    quick.passes = 1;
    quick.memoryKiB = 8;  // the stretching is timed on its own below
    const std::vector<std::uint8_t> plain(quick.chunkSize, 0x5A);
    std::vector<std::uint8_t> sealed;
    vimbrel::StrongSealer sealer("bench key 2026", quick);
    for (auto _ : state) {
        sealer.Seal(plain, false, sealed);
        benchmark::DoNotOptimize(sealed.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(plain.size()));
}
BENCHMARK(BM_StrongSealChunks);

void BM_StrongKeyDerivation(benchmark::State& state) {
    const std::uint8_t salt[16] = {1, 2, 3};
    std::uint8_t key[32];
    for (auto _ : state) {
        vimbrel::DeriveStrongKey("bench key 2026", salt, vimbrel::StrongParams{}, key);
        benchmark::DoNotOptimize(key);
    }
}
BENCHMARK(BM_StrongKeyDerivation)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
