// Feeds arbitrary bytes to the bitmap file reader. Besides crashes it checks that whatever
// the reader accepts is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "declared_size.h"
#include "workspace/bmp_file.h"
#include "workspace/image_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz::DeclaredPixels(data, size, 14) > fuzz::kMaxFuzzPixels) return 0;
    vimbrel::Bitmap picture;
    try {
        picture = vimbrel::DecodeBmp(std::span<const std::uint8_t>(data, size));
    } catch (const vimbrel::EInvalidGraphic&) {
        return 0;
    }
    if (picture.Empty() || vimbrel::DecodeBmp(vimbrel::EncodeBmp(picture)) != picture) std::abort();
    return 0;
}
