#pragma once
// The bitsliced block function as a template over the word type, included by one source
// file per path, each compiled for its instruction set. Everything here has internal
// linkage, so code built for AVX2 is never shared with a path that may run without it.
#include <cstdint>
#include <cstring>

namespace vimbrel::des::bitslice {
namespace {

template <class V>
inline V AndNot(V a, V b) {
    return ~a & b;
}

#include "crypto/des_sboxes.inc"

// FIPS 46 tables, bit positions counted from 1 at the most significant end.
constexpr std::uint8_t IPTable[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                      62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                      57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                      61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
constexpr std::uint8_t FPTable[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                                      38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                                      36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                                      34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
constexpr std::uint8_t ETable[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                                     12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                                     22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
constexpr std::uint8_t PTable[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                     2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

// Where S-box output bit t (1 to 32) lands after P, 0-based.
constexpr int PInv(int t) {
    for (int j = 0; j < 32; ++j)
        if (PTable[j] == t) return j;
    return -1;
}

// A block is loaded as a little-endian 64-bit word, so FIPS bit k (1 = the most significant
// bit of the first byte) is bit c = 8 ((k-1) / 8) + 7 - (k-1) % 8 of it; the transpose puts
// bit c of every block into word 63 - c.
constexpr int Plane(int k) { return 63 - (8 * ((k - 1) >> 3) + 7 - ((k - 1) & 7)); }

// 64 x 64 bit transpose within each 64-bit lane: bit (63 - c) of word r trades places
// with bit (63 - r) of word c. Its own inverse.
template <class V>
__attribute__((always_inline)) inline void Transpose(V* x) {
    std::uint64_t m = 0x00000000ffffffffull;
    for (int j = 32; j; j >>= 1, m ^= m << j) {
        for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
            V t = (x[k] ^ (x[k | j] >> j)) & m;
            x[k] ^= t;
            x[k | j] ^= t << j;
        }
    }
}

// One round: l ^= f(r, k).
template <class V>
__attribute__((always_inline)) inline void Round(V* __restrict l, const V* __restrict r, const std::uint64_t* __restrict k) {
#define VIMBREL_DES_SBOX(n)                                                                                 \
    S##n(r[ETable[6 * (n - 1)] - 1] ^ k[6 * (n - 1)], r[ETable[6 * (n - 1) + 1] - 1] ^ k[6 * (n - 1) + 1],    \
         r[ETable[6 * (n - 1) + 2] - 1] ^ k[6 * (n - 1) + 2], r[ETable[6 * (n - 1) + 3] - 1] ^ k[6 * (n - 1) + 3], \
         r[ETable[6 * (n - 1) + 4] - 1] ^ k[6 * (n - 1) + 4], r[ETable[6 * (n - 1) + 5] - 1] ^ k[6 * (n - 1) + 5], \
         l[PInv(4 * (n - 1) + 1)], l[PInv(4 * (n - 1) + 2)], l[PInv(4 * (n - 1) + 3)], l[PInv(4 * (n - 1) + 4)])
    VIMBREL_DES_SBOX(1);
    VIMBREL_DES_SBOX(2);
    VIMBREL_DES_SBOX(3);
    VIMBREL_DES_SBOX(4);
    VIMBREL_DES_SBOX(5);
    VIMBREL_DES_SBOX(6);
    VIMBREL_DES_SBOX(7);
    VIMBREL_DES_SBOX(8);
#undef VIMBREL_DES_SBOX
}

// 64 x (lanes of V) blocks from in to out (which may be the same): block 4 i + j of an AVX2
// batch is lane j of word i before the transpose.
template <class V>
inline void Batch(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key) {
    V x[64], l[32], r[32];
    for (int i = 0; i < 64; ++i) std::memcpy(&x[i], in + i * sizeof(V), sizeof(V));
    Transpose(x);
    for (int i = 0; i < 32; ++i) {
        l[i] = x[Plane(IPTable[i])];
        r[i] = x[Plane(IPTable[32 + i])];
    }
    for (int round = 0; round < 16; round += 2) {
        Round(l, r, key + 48 * round);
        Round(r, l, key + 48 * (round + 1));
    }
    // After an even number of rounds without the final swap, r holds R16 and l holds L16;
    // the pre-output block is R16 L16.
    for (int i = 0; i < 64; ++i) {
        int k = FPTable[i];
        x[Plane(i + 1)] = k <= 32 ? r[k - 1] : l[k - 33];
    }
    Transpose(x);
    for (int i = 0; i < 64; ++i) std::memcpy(out + i * sizeof(V), &x[i], sizeof(V));
}

}  // namespace
}  // namespace vimbrel::des::bitslice
