#pragma once
// The DES block function in the usual table-driven form: the S-boxes merged with the P
// permutation into eight 64-entry tables, halves kept rotated left by one bit between
// the initial and final permutations so every S-box input is a plain 6-bit field, and
// the initial and final permutations done with shift, XOR and mask steps. The CBC
// encryption chain, where each block waits for the one before, uses a wide form of the
// same rounds (WideRounds) with the shortest path from round to round; blocks that do
// not wait for each other go through the bitsliced batches of des_bitslice.h instead.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vimbrel::des {

namespace tables {

inline constexpr std::uint8_t S[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,
     0,  15, 7,  4, 14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3, 8,
     4,  1,  14, 8, 13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5, 0,
     15, 12, 8,  2, 4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6, 13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10,
     3,  13, 4,  7,  15, 2,  8,  14, 12, 0, 1,  10, 6,  9, 11, 5,
     0,  14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,  9,  3, 2,  15,
     13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5, 14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
     13, 7,  0,  9,  3, 4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
     13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
     1,  10, 13, 0,  6, 9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8, 5,  11, 12, 4,  15,
     13, 8,  11, 5, 6,  15, 0,  3,  4,  7, 2, 12, 1,  10, 14, 9,
     10, 6,  9,  0, 12, 11, 7,  13, 15, 1, 3, 14, 5,  2,  8,  4,
     3,  15, 0,  6, 10, 1,  13, 8,  9,  4, 5, 11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,
     14, 11, 2,  12, 4,  7,  13, 1,  5,  0,  15, 10, 3,  9, 8,  6,
     4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3, 0,  14,
     11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
     10, 15, 4,  2,  7, 12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
     9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
     4,  3,  2,  12, 9, 5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9, 7,  5,  10, 6, 1,
     13, 0,  11, 7,  4,  9, 1,  10, 14, 3,  5, 12, 2,  15, 8, 6,
     1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,  0,  5,  9, 2,
     6,  11, 13, 8,  1,  4, 10, 7,  9,  5,  0, 15, 14, 2,  3, 12},
    {13, 2,  8,  4, 6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
     1,  15, 13, 8, 10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
     7,  11, 4,  1, 9,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
     2,  1,  14, 7, 4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11},
};

// Bit positions count from 1 at the most significant end, as the standard numbers them.
inline constexpr std::uint8_t P[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                       2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint32_t RotL(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

constexpr std::array<std::array<std::uint32_t, 64>, 8> MakeSP() {
    std::array<std::array<std::uint32_t, 64>, 8> sp{};
    for (int box = 0; box < 8; ++box) {
        for (int v = 0; v < 64; ++v) {
            // v is the 6-bit S-box input b1..b6: row b1b6, column b2..b5.
            int row = ((v >> 4) & 2) | (v & 1);
            int col = (v >> 1) & 15;
            std::uint32_t s = std::uint32_t(S[box][row * 16 + col]) << (28 - 4 * box);
            std::uint32_t p = 0;
            for (int j = 0; j < 32; ++j)
                if (s & (0x80000000u >> (P[j] - 1))) p |= 0x80000000u >> j;
            sp[box][v] = RotL(p, 1);
        }
    }
    return sp;
}

inline constexpr auto SP = MakeSP();

// The same tables for the wide round of the CBC encryption chain: indexed by a whole byte
// (the two bits above the 6-bit group ignored), each entry holding the SP word in its low
// half and that word rotated left by 28 in its high half. Byte j of the wide round input
// feeds S-box WideBox[j].
inline constexpr int WideBox[8] = {7, 5, 3, 1, 6, 4, 2, 0};

constexpr std::array<std::array<std::uint64_t, 256>, 8> MakeWideSP() {
    std::array<std::array<std::uint64_t, 256>, 8> t{};
    for (int j = 0; j < 8; ++j)
        for (int v = 0; v < 256; ++v) {
            std::uint32_t p = SP[WideBox[j]][v & 0x3f];
            t[j][v] = (std::uint64_t(RotL(p, 28)) << 32) | p;
        }
    return t;
}

inline constexpr auto WideSP = MakeWideSP();

}  // namespace tables

// Round keys of one direction: per round two words, the first holding the 6-bit groups of
// S-boxes 1, 3, 5, 7 and the second those of 2, 4, 6, 8, one group in the low 6 bits of
// each byte.
using Schedule = std::uint32_t[32];

void MakeSchedules(const std::uint8_t key[8], Schedule enc, Schedule dec);

inline std::uint32_t LoadBE(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

inline void StoreBE(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

// Initial permutation; leaves both halves rotated left by one bit.
inline void IP(std::uint32_t& l, std::uint32_t& r) {
    std::uint32_t t;
    t = ((l >> 4) ^ r) & 0x0f0f0f0fu; r ^= t; l ^= t << 4;
    t = ((l >> 16) ^ r) & 0x0000ffffu; r ^= t; l ^= t << 16;
    t = ((r >> 2) ^ l) & 0x33333333u; l ^= t; r ^= t << 2;
    t = ((r >> 8) ^ l) & 0x00ff00ffu; l ^= t; r ^= t << 8;
    r = tables::RotL(r, 1);
    t = (l ^ r) & 0xaaaaaaaau; l ^= t; r ^= t;
    l = tables::RotL(l, 1);
}

// Final permutation of the rotated halves (l, r) = (R16, L16), in place.
inline void FP(std::uint32_t& l, std::uint32_t& r) {
    std::uint32_t t;
    l = tables::RotL(l, 31);
    t = (l ^ r) & 0xaaaaaaaau; l ^= t; r ^= t;
    r = tables::RotL(r, 31);
    t = ((r >> 8) ^ l) & 0x00ff00ffu; l ^= t; r ^= t << 8;
    t = ((r >> 2) ^ l) & 0x33333333u; l ^= t; r ^= t << 2;
    t = ((l >> 16) ^ r) & 0x0000ffffu; r ^= t; l ^= t << 16;
    t = ((l >> 4) ^ r) & 0x0f0f0f0fu; r ^= t; l ^= t << 4;
}

inline std::uint32_t F(std::uint32_t r, const std::uint32_t* k) {
    const auto& sp = tables::SP;
    std::uint32_t w = tables::RotL(r, 28) ^ k[0];
    std::uint32_t f = sp[6][w & 0x3f] | sp[4][(w >> 8) & 0x3f] | sp[2][(w >> 16) & 0x3f] | sp[0][(w >> 24) & 0x3f];
    w = r ^ k[1];
    f |= sp[7][w & 0x3f] | sp[5][(w >> 8) & 0x3f] | sp[3][(w >> 16) & 0x3f] | sp[1][(w >> 24) & 0x3f];
    return f;
}

// The wide form of a half: the half in the low 32 bits, the half rotated left by 28 in the
// high 32 bits, so one XOR with a wide round key lines up all eight S-box inputs as bytes.
inline std::uint64_t Wide(std::uint32_t h) { return (std::uint64_t(tables::RotL(h, 28)) << 32) | h; }

// Wide round keys: the first word of each round's pair in the high half, the second in the
// low half.
inline void MakeWideSchedule(const std::uint32_t* ks, std::uint64_t* wide) {
    for (int i = 0; i < 16; ++i) wide[i] = (std::uint64_t(ks[2 * i]) << 32) | ks[2 * i + 1];
}

// The lookups of the round function on wide halves, for the round input x = r xor k; the
// result is wide too, as XOR commutes with the rotation. Each lookup needs only a shift
// and a byte of x. The SP words of different S-boxes have no bit in common, so XOR
// combines them like OR and leaves the compiler free to regroup them with the XOR that
// follows.
inline std::uint64_t WideSPOf(std::uint64_t x) {
    const auto& t = tables::WideSP;
    return t[0][x & 0xff] ^ t[1][(x >> 8) & 0xff] ^ t[2][(x >> 16) & 0xff] ^ t[3][(x >> 24) & 0xff] ^
           t[4][(x >> 32) & 0xff] ^ t[5][(x >> 40) & 0xff] ^ t[6][(x >> 48) & 0xff] ^ t[7][x >> 56];
}

// 16 rounds on wide halves: in l = L0, r = R0; out l = R16, r = L16. The next round's key
// is XORed into the half it meets before the round function's result arrives, so the
// chain from round to round holds the lookups and one XOR.
inline void WideRounds(std::uint64_t& l, std::uint64_t& r, const std::uint64_t* wk) {
    std::uint64_t x = r ^ wk[0];
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i) {
        const std::uint64_t f = WideSPOf(x);
        // l, the next round's input half, picks up f; x becomes the next round's input.
        const std::uint64_t next = i < 15 ? l ^ wk[i + 1] : 0;
        l ^= f;
        x = next ^ f;
        const std::uint64_t t = l;
        l = r;
        r = t;
    }
    // After 16 swaps l = L16 and r = R16; the output pair is (R16, L16).
    const std::uint64_t t = l;
    l = r;
    r = t;
}

// N independent blocks through the 16 rounds side by side, so their table lookups overlap.
// In: IP output (l = L0, r = R0). Out: l = R16, r = L16, ready for FP.
template <std::size_t N>
inline void Rounds(std::uint32_t (&l)[N], std::uint32_t (&r)[N], const std::uint32_t* ks) {
    // Fully unrolled, the lanes stay in registers; -O2 would not unroll on its own.
#pragma GCC unroll 8
    for (int i = 0; i < 16; i += 2, ks += 4) {
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) l[j] ^= F(r[j], ks);
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) r[j] ^= F(l[j], ks + 2);
    }
#pragma GCC unroll 8
    for (std::size_t j = 0; j < N; ++j) {
        std::uint32_t t = l[j];
        l[j] = r[j];
        r[j] = t;
    }
}

// One block given and returned as its two big-endian halves.
inline void Crypt(std::uint32_t& hi, std::uint32_t& lo, const std::uint32_t* ks) {
    std::uint32_t l[1] = {hi}, r[1] = {lo};
    IP(l[0], r[0]);
    Rounds<1>(l, r, ks);
    FP(l[0], r[0]);
    hi = l[0];
    lo = r[0];
}

}  // namespace vimbrel::des
