// Feeds arbitrary bytes to the bitmap file reader. Besides crashes it checks that whatever
// the reader accepts is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "workspace/bmp_file.h"
#include "workspace/image_errors.h"

namespace {

// Large pictures are legal, and a run-length file declares one in a few bytes, but they
// would only measure the machine's memory and slow every run down.
constexpr std::int64_t kMaxFuzzPixels = std::int64_t(1) << 20;

std::int64_t Field(const std::uint8_t* data, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint32_t(data[at + i]) << (8 * i);
    return bytes == 2 ? std::int64_t(v) : std::int64_t(std::int32_t(v));
}

// Width times height as the header declares them (OS/2 or later header).
std::int64_t DeclaredPixels(const std::uint8_t* data, std::size_t size) {
    if (size < 26) return 0;
    if (Field(data, 14, 4) == 12) return Field(data, 18, 2) * Field(data, 20, 2);
    return std::llabs(Field(data, 18, 4) * Field(data, 22, 4));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (DeclaredPixels(data, size) > kMaxFuzzPixels) return 0;
    vimbrel::Bitmap picture;
    try {
        picture = vimbrel::DecodeBmp(std::span<const std::uint8_t>(data, size));
    } catch (const vimbrel::EInvalidGraphic&) {
        return 0;
    }
    if (picture.Empty() || vimbrel::DecodeBmp(vimbrel::EncodeBmp(picture)) != picture) std::abort();
    return 0;
}
