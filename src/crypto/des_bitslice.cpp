#include "crypto/des_bitslice.h"

#include <atomic>
#include <cstring>

namespace vimbrel::des::bitslice {

bool Avx2Built();

namespace {

// -1: none forced.
std::atomic<int> forced{-1};

Path Best() {
    if (Available(Path::Avx2)) return Path::Avx2;
    return Path::Sse2;
}

using BatchFn = void (*)(const std::uint8_t*, std::uint8_t*, const std::uint64_t*);

BatchFn FunctionOf(Path path) {
    switch (path) {
    case Path::Avx2: return BatchAvx2;
    case Path::Sse2: return BatchSse2;
    case Path::Scalar: break;
    }
    return BatchScalar;
}

constexpr std::size_t MaxBatch = 256;

}  // namespace

void MakeKey(const std::uint32_t* schedule, std::uint64_t* key) {
    for (int round = 0; round < 16; ++round) {
        for (int g = 0; g < 8; ++g) {
            std::uint32_t word = schedule[2 * round + (g & 1)];
            std::uint32_t group = (word >> (24 - 8 * (g >> 1))) & 0x3f;
            for (int b = 0; b < 6; ++b) key[48 * round + 6 * g + b] = 0 - std::uint64_t((group >> (5 - b)) & 1);
        }
    }
}

std::size_t BatchBlocks(Path path) {
    switch (path) {
    case Path::Avx2: return 256;
    case Path::Sse2: return 128;
    case Path::Scalar: break;
    }
    return 64;
}

bool Available(Path path) {
    if (path != Path::Avx2) return true;
    static const bool avx2 = Avx2Built() && __builtin_cpu_supports("avx2");
    return avx2;
}

const char* Name(Path path) {
    switch (path) {
    case Path::Avx2: return "avx2";
    case Path::Sse2: return "sse2";
    case Path::Scalar: break;
    }
    return "scalar";
}

Path Chosen() {
    int f = forced.load(std::memory_order_relaxed);
    if (f >= 0) return static_cast<Path>(f);
    static const Path best = Best();
    return best;
}

void Force(Path path) { forced.store(Available(path) ? int(path) : int(Path::Sse2), std::memory_order_relaxed); }

void Unforce() { forced.store(-1, std::memory_order_relaxed); }

std::size_t Ecb(Path path, std::uint8_t* p, std::size_t blocks, const std::uint64_t* key) {
    const std::size_t n = BatchBlocks(path);
    const BatchFn batch = FunctionOf(path);
    std::size_t done = 0;
    for (; done + n <= blocks; done += n) batch(p + 8 * done, p + 8 * done, key);
    return done;
}

std::size_t CbcDecrypt(Path path, std::uint8_t* p, std::size_t blocks, const std::uint64_t* key, std::uint8_t* iv) {
    const std::size_t n = BatchBlocks(path);
    const BatchFn batch = FunctionOf(path);
    std::uint8_t out[8 * MaxBatch];
    std::uint64_t chain;
    std::memcpy(&chain, iv, 8);
    std::size_t done = 0;
    for (; done + n <= blocks; done += n, p += 8 * n) {
        batch(p, out, key);
        // P[i] = D(C[i]) xor C[i-1]: from the last block down, so each C[i-1] is still there.
        std::uint64_t next;
        std::memcpy(&next, p + 8 * (n - 1), 8);
        for (std::size_t i = n - 1; i > 0; --i) {
            std::uint64_t d, c;
            std::memcpy(&d, out + 8 * i, 8);
            std::memcpy(&c, p + 8 * (i - 1), 8);
            d ^= c;
            std::memcpy(p + 8 * i, &d, 8);
        }
        std::uint64_t d;
        std::memcpy(&d, out, 8);
        d ^= chain;
        std::memcpy(p, &d, 8);
        chain = next;
    }
    std::memcpy(iv, &chain, 8);
    return done;
}

}  // namespace vimbrel::des::bitslice
