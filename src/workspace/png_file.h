#pragma once
// PNG coding: reading through libpng, writing through libdeflate (or libpng and zlib).
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
// read into an 8-bit picture with the file's colours (24 bits for the program's own true
// colour palettes, see EncodePng), grey ones into an 8-bit picture with
// a grey colour table, colour ones into 24 bits; 16-bit samples are scaled to 8 bits. A
// file with an alpha channel or a transparent colour reads into 32 bits with the alpha in
// each pixel's fourth byte, except that a picture opaque everywhere keeps 0 there, as
// screen captures do. Ancillary chunks (gamma, colour profiles, texts) are passed over.
// Damaged data, data cut short, impossible sizes and data too short for the declared size
// throw EInvalidGraphic, the last two before the picture is allocated.
Bitmap DecodePng(std::span<const std::uint8_t> file);

// How pictures are compressed; bench/png_vs_bmp_jpeg.sh and bench/png_write.sh show what
// the choices cost.
enum class PngCoder {
    // The program's writer: the rows filtered here, the whole picture deflated at once by
    // libdeflate, the chunks laid out here (CRCs by libdeflate).
    Libdeflate,
    // The earlier writer, kept to compare with and for pictures too large to hold twice in
    // memory: libpng streaming rows into zlib.
    LibpngZlib,
};
enum class PngRowFilter {
    None,    // every row as it is: a flat screen's long runs stay long
    Up,      // every row less the row above: rows that repeat become zeros
    PerRow,  // the filter of the five that gives each row the smallest sum of differences
};
inline constexpr int kPngCompressionLevel = 6;      // libdeflate's 1 to 12
inline constexpr int kPngZlibCompressionLevel = 6;  // zlib's 0 to 9, the earlier writer's
// Palette rows are a third of the bytes and mostly runs: level 4 packs them within a tenth
// of level 6 in two thirds of the time (bench/png_write.sh).
inline constexpr int kPngPaletteCompressionLevel = 4;
struct PngWriteOptions {
    PngCoder coder = PngCoder::Libdeflate;
    // The coder's own level: 1 to 12 for libdeflate, 0 to 9 for zlib.
    int compressionLevel = kPngCompressionLevel;
    // Unset: chosen by the picture, None for mostly flat pictures such as windows of text
    // (their long runs and repeated glyphs stay whole for deflate), PerRow for photographs;
    // palette pictures None. Unset, the program's writer also writes a picture of 256
    // colours or fewer as a palette.
    std::optional<PngRowFilter> filter;
    // libdeflate's level for the rows of a picture the program's writer makes a palette of.
    int paletteCompressionLevel = kPngPaletteCompressionLevel;
};

// Lossless at every depth: 8-bit pictures as a palette file (entries past the colour table
// that pixels use are written black, as they are shown), 24 bits as RGB, 32 bits as RGBA
// with the fourth byte as alpha. A 32-bit picture whose fourth bytes are all 0 (a screen
// capture's unused byte) or all 255 (an alpha that leaves every pixel opaque) is written
// opaque: as RGB, which DecodePng gives back at 24 bits with the same colours (the earlier
// writer, PngCoder::LibpngZlib, as opaque RGBA, which DecodePng gives back at 32 bits with
// 0s). Such a picture, or a 24-bit one, of 256
// colours or fewer goes out as a palette of 1, 2, 4 or 8 bits a pixel (unless a filter is
// asked for), marked so that DecodePng gives it back at 24 bits with the same colours. The file holds IHDR, PLTE for a palette, the
// data in IDAT chunks of at most 1 MiB and IEND. Throws EInOutError when the picture
// cannot be written (an empty picture, say).
std::vector<std::uint8_t> EncodePng(const Bitmap& picture, PngWriteOptions options = {});

// Width and height from the header alone, without decoding; throws EInvalidGraphic.
Size ReadPngSize(std::span<const std::uint8_t> file);

}  // namespace vimbrel
