// The bitsliced batch on SSE2 registers: 128 blocks. SSE2 is part of every x64 processor,
// so this file needs no instruction-set option of its own.
#include "crypto/des_bitslice.h"
#include "crypto/des_bitslice_core.h"

namespace vimbrel::des::bitslice {

namespace {
typedef std::uint64_t U64x2 __attribute__((vector_size(16)));
}

void BatchSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key) {
    Batch<U64x2>(in, out, key);
}

}  // namespace vimbrel::des::bitslice
