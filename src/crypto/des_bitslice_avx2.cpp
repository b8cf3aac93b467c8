// The bitsliced batch on AVX2 registers: 256 blocks. This file alone is compiled with
// -mavx2 (see CMakeLists.txt) and is only called once the processor is known to have AVX2;
// everything it defines besides the entry point has internal linkage.
#include "crypto/des_bitslice.h"
#include "crypto/des_bitslice_core.h"

namespace vimbrel::des::bitslice {

#ifdef __AVX2__
namespace {
typedef std::uint64_t U64x4 __attribute__((vector_size(32)));
}

void BatchAvx2(const std::uint8_t* in, std::uint8_t* out, const std::uint64_t* key) {
    Batch<U64x4>(in, out, key);
}
#else
// A compiler that was not given -mavx2: never chosen (Available reports false).
void BatchAvx2(const std::uint8_t*, std::uint8_t*, const std::uint64_t*) { __builtin_trap(); }
#endif

}  // namespace vimbrel::des::bitslice

namespace vimbrel::des::bitslice {

bool Avx2Built() {
#ifdef __AVX2__
    return true;
#else
    return false;
#endif
}

}  // namespace vimbrel::des::bitslice
