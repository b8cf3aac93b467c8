// Feeds arbitrary bytes to the PNG reader. A picture it accepts must write and read back
// with every pixel's colour, whatever file it came from. Each chunk's CRC is made to fit
// first, or nearly every mutation would end at the first CRC check (which the unit tests
// cover).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include <zlib.h>

#include "util/errors.h"
#include "workspace/image_errors.h"
#include "workspace/png_file.h"

namespace {
// Large pictures are legal but would only measure the machine's memory.
constexpr int kMaxFuzzSide = 2048;

std::vector<std::uint8_t> WithFittingCrcs(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> f(data, data + size);
    std::size_t i = 8;
    while (i + 12 <= f.size()) {
        const std::size_t length = (std::size_t(f[i]) << 24) | (std::size_t(f[i + 1]) << 16) | (std::size_t(f[i + 2]) << 8) | f[i + 3];
        if (length > f.size() - i - 12) break;
        const std::uint32_t crc = std::uint32_t(crc32(0, &f[i + 4], uInt(length + 4)));
        for (int k = 0; k < 4; ++k) f[i + 8 + length + std::size_t(k)] = std::uint8_t(crc >> (24 - 8 * k));
        i += 12 + length;
    }
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> fixed = WithFittingCrcs(data, size);
    const std::span<const std::uint8_t> file(fixed);
    vimbrel::Bitmap picture;
    try {
        const vimbrel::Size declared = vimbrel::ReadPngSize(file);
        if (declared.width > kMaxFuzzSide || declared.height > kMaxFuzzSide) return 0;
        picture = vimbrel::DecodePng(file);
    } catch (const vimbrel::EInvalidGraphic&) {
        return 0;
    }
    const int bpp = picture.BitsPerPixel();
    if (picture.Empty() || (bpp != 8 && bpp != 24 && bpp != 32)) std::abort();
    if (bpp == 8 && picture.Palette().size() > 256) std::abort();
    // An opaque 32-bit picture (0 in every fourth byte) is written as red, green and blue
    // and reads back at 24 bits; everything else at its own depth.
    bool opaque = bpp == 32;
    for (int y = 0; opaque && y < picture.Height(); ++y)
        for (int x = 0; opaque && x < picture.Width(); ++x) opaque = picture.PixelColour(x, y).reserved == 0;
    for (const vimbrel::PngCoder coder : {vimbrel::PngCoder::Libdeflate, vimbrel::PngCoder::LibpngZlib}) {
        vimbrel::PngWriteOptions options;
        options.coder = coder;
        if (coder == vimbrel::PngCoder::LibpngZlib) options.compressionLevel = vimbrel::kPngZlibCompressionLevel;
        const vimbrel::Bitmap again = vimbrel::DecodePng(vimbrel::EncodePng(picture, options));
        const int want = opaque && coder == vimbrel::PngCoder::Libdeflate ? 24 : bpp;
        if (again.Width() != picture.Width() || again.Height() != picture.Height() || again.BitsPerPixel() != want)
            std::abort();
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                if (!(again.PixelColour(x, y) == picture.PixelColour(x, y))) std::abort();
    }
    return 0;
}
