#pragma once
// The program's PNG writer: the rows filtered here, the whole picture deflated at once by
// libdeflate, the chunks laid out here.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <png.h>

#include "workspace/bitmap.h"
#include "workspace/png_file.h"

namespace vimbrel {

inline constexpr std::size_t kPngSignatureSize = 8;  // the bytes every PNG file starts with

// A private chunk of one byte, 24: the palette stands for a picture of 24 bits a pixel, and
// DecodePng reads it back into one. Other readers pass over it.
inline constexpr char kPngTrueColourChunk[5] = "trUE";

// Pictures whose filtered rows take more than this go through the streaming writer
// (libpng and zlib), which never holds the picture a second time.
inline constexpr std::size_t kPngWholeBufferLimit = std::size_t(512) << 20;

// What a 32-bit picture's fourth bytes hold: all 0, a screen capture's unused byte; all
// 255, an alpha that leaves every pixel opaque; or an alpha that varies.
enum class FourthBytes { AllZero, AllOpaque, Alpha };
FourthBytes FourthBytesOf(const Bitmap& picture);

// The filter for a picture's rows: None for mostly flat pictures such as windows of text
// (their long runs and repeated glyphs stay whole for deflate) and for palette pictures,
// PerRow for photographs.
PngRowFilter ChosenFilter(const Bitmap& picture);

// The file of `picture`; colours is the colour table of an 8-bit one, opaque says that a
// 32-bit one's fourth bytes are all 0 or all 255 and go unwritten. With options.filter
// unset, a 24-bit or opaque picture of 256 colours or fewer is written as a palette, others
// with ChosenFilter. Throws EInOutError, std::bad_alloc when the buffers cannot be had.
std::vector<std::uint8_t> DeflatePngFile(const Bitmap& picture, const std::vector<png_color>& colours, bool opaque,
                                         const PngWriteOptions& options);

}  // namespace vimbrel
