#include "crypto/des_core.h"

namespace vimbrel::des {

namespace {

constexpr std::uint8_t PC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                  10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                  63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                  14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t PC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
                                  23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
                                  41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
                                  44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t Shifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

}  // namespace

// Runs once per key, so plain bit arrays are clear enough here.
void MakeSchedules(const std::uint8_t key[8], Schedule enc, Schedule dec) {
    std::uint8_t cd[56];
    for (int i = 0; i < 56; ++i) {
        int bit = PC1[i] - 1;
        cd[i] = (key[bit >> 3] >> (7 - (bit & 7))) & 1;
    }
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < Shifts[round]; ++s) {
            std::uint8_t c0 = cd[0], d0 = cd[28];
            for (int i = 0; i < 27; ++i) {
                cd[i] = cd[i + 1];
                cd[28 + i] = cd[29 + i];
            }
            cd[27] = c0;
            cd[55] = d0;
        }
        std::uint32_t group[8] = {};
        for (int i = 0; i < 48; ++i) group[i / 6] = (group[i / 6] << 1) | cd[PC2[i] - 1];
        enc[2 * round] = (group[0] << 24) | (group[2] << 16) | (group[4] << 8) | group[6];
        enc[2 * round + 1] = (group[1] << 24) | (group[3] << 16) | (group[5] << 8) | group[7];
    }
    for (int round = 0; round < 16; ++round) {
        dec[2 * round] = enc[2 * (15 - round)];
        dec[2 * round + 1] = enc[2 * (15 - round) + 1];
    }
    // Leave no key bits on the stack.
    volatile std::uint8_t* wipe = cd;
    for (int i = 0; i < 56; ++i) wipe[i] = 0;
}

}  // namespace vimbrel::des
