// The bitsliced batch on 64-bit integers: 64 blocks, any x64 processor.
#include "crypto/des_bitslice.h"
#include "crypto/des_bitslice_core.h"

namespace vimbrel::des::bitslice {

void BatchScalar(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key) {
    Batch<std::uint64_t>(in, out, key);
}

}  // namespace vimbrel::des::bitslice
