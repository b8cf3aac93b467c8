#pragma once
// PNG coding through libpng.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "util/geometry.h"
#include "workspace/bitmap.h"

namespace vimbrel {

// Deflate turns at most 1032 bytes into one (a 258-byte match in two one-bit codes), so
// compressed data shorter than a picture's pixels over this cannot hold the picture.
inline constexpr std::uint64_t kMaxDeflateRatio = 1032;

// Every colour type and depth, interlaced or not. Palette pictures without transparency
// read into an 8-bit picture with the file's colours, grey ones into an 8-bit picture with
// a grey colour table, colour ones into 24 bits; 16-bit samples are scaled to 8 bits. A
// file with an alpha channel or a transparent colour reads into 32 bits with the alpha in
// each pixel's fourth byte, except that a picture opaque everywhere keeps 0 there, as
// screen captures do. Ancillary chunks (gamma, colour profiles, texts) are passed over.
// Damaged data, data cut short, impossible sizes and data too short for the declared size
// throw EInvalidGraphic, the last two before the picture is allocated.
Bitmap DecodePng(std::span<const std::uint8_t> file);

// How pictures are compressed; bench/png_vs_bmp_jpeg.sh shows what the choices cost.
inline constexpr int kPngCompressionLevel = 6;
struct PngWriteOptions {
    int compressionLevel = kPngCompressionLevel;
    // Whether libpng filters each row (choosing the filter per row) before zlib sees it.
    // Unset: chosen by the picture, unfiltered for mostly flat pictures such as windows of
    // text, where that is both smaller and faster, filtered for photographs.
    std::optional<bool> filterRows;
};

// Lossless at every depth: 8-bit pictures as a palette file (entries past the colour table
// that pixels use are written black, as they are shown), 24 bits as RGB, 32 bits as RGBA
// with the fourth byte as alpha. A 32-bit picture whose fourth bytes are all 0 (a screen
// capture's unused byte) is written opaque, and DecodePng gives it back with 0s. Throws
// EInOutError when the library refuses (an empty picture, say).
std::vector<std::uint8_t> EncodePng(const Bitmap& picture, PngWriteOptions options = {});

// Width and height from the header alone, without decoding; throws EInvalidGraphic.
Size ReadPngSize(std::span<const std::uint8_t> file);

}  // namespace vimbrel
