#pragma once
// Bitsliced DES for blocks that do not depend on each other (CBC decryption): a batch of
// 64, 128 or 256 blocks is turned sideways so that each of its 64 bit positions is one
// machine word (a 64-bit integer, an SSE2 or an AVX2 register) with one bit per block, and
// all the blocks of the batch go through the 16 rounds at once as Boolean circuits. The
// permutations (IP, E, P, FP) are then only a choice of which word is used where, and the
// S-boxes are gate circuits (des_sboxes.inc).
//
// Three paths give the same bytes; the fastest the processor has is chosen once, at the
// first use. Tests force each path through the functions that take it explicitly.
#include <cstddef>
#include <cstdint>

namespace vimbrel::des::bitslice {

enum class Path : std::uint8_t { Scalar = 0, Sse2, Avx2 };

// The key of one direction as 16 x 48 words, each all ones or all zeros: round r's key bit
// b (FIPS order, 0-based) at [48 r + b].
constexpr std::size_t KeyWords = 16 * 48;
void MakeKey(const std::uint32_t* schedule, std::uint64_t* key);

// Blocks in one batch of the path: 64, 128 or 256.
std::size_t BatchBlocks(Path path);
bool Available(Path path);
const char* Name(Path path);
// The path in use: the fastest available, unless a test forced one.
Path Chosen();
// For tests: every later use takes this path (which must be available).
void Force(Path path);
void Unforce();

// ECB of whole batches, in place; returns the number of blocks done (a multiple of the
// batch size, the rest left as it was).
std::size_t Ecb(Path path, std::uint8_t* p, std::size_t blocks, const std::uint64_t* key);
// CBC decryption of whole batches, in place, with the chaining value iv (8 bytes) carried
// on; returns the number of blocks done.
std::size_t CbcDecrypt(Path path, std::uint8_t* p, std::size_t blocks, const std::uint64_t* key, std::uint8_t* iv);

// One batch in each path, for the dispatch above.
void BatchScalar(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key);
void BatchSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key);
void BatchAvx2(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key);

}  // namespace vimbrel::des::bitslice
