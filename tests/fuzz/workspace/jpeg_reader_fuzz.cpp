// Feeds arbitrary bytes to the JPEG reader with each choice of output; the first byte picks
// greyscale and palette output. A picture the reader accepts must encode and decode again
// at the same size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "workspace/image_errors.h"
#include "workspace/jpeg_file.h"

namespace {
// Large pictures are legal but would only measure the machine's memory.
constexpr int kMaxFuzzSide = 2048;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    vimbrel::JpegReadOptions options;
    options.greys = (data[0] & 1) != 0;
    options.trueColourDisplay = (data[0] & 2) == 0;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    vimbrel::Bitmap picture;
    try {
        const vimbrel::Size declared = vimbrel::ReadJpegSize(file);
        if (declared.width > kMaxFuzzSide || declared.height > kMaxFuzzSide) return 0;
        picture = vimbrel::DecodeJpeg(file, options);
    } catch (const vimbrel::EInvalidGraphic&) {
        return 0;
    }
    const bool eightBits = options.greys || !options.trueColourDisplay;
    if (picture.BitsPerPixel() != (eightBits ? 8 : 24)) std::abort();
    if (eightBits && picture.Palette().size() > std::size_t(vimbrel::kJpegQuantisedColours)) std::abort();
    const vimbrel::Bitmap again = vimbrel::DecodeJpeg(vimbrel::EncodeJpeg(picture));
    if (again.Width() != picture.Width() || again.Height() != picture.Height()) std::abort();
    return 0;
}
