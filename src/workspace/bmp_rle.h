#pragma once
// Run-length coded bitmap pixels (BI_RLE8 and BI_RLE4): pairs of a count and a colour, or an
// escape (end of line, end of bitmap, a move, or a run of literal pixels).
#include <cstdint>
#include <span>

#include "workspace/bitmap.h"

namespace vimbrel {

// Whether run-length data of this many bytes may stand for a picture of this size. The end
// code can leave almost all of a picture unwritten, so without a limit a few bytes could
// ask for gigabytes.
bool RlePictureSizeAllowed(int width, int height, std::uint64_t dataBytes);

// Decodes 8- or 4-bit run-length data into an 8-bit picture of colour indexes; the data's
// first row is the picture's bottom row. Pixels the data moves over or never reaches keep
// index 0. Every run is checked against its row and the picture before it is written:
// a run past a row's end, a move or row past the last row, and data that ends before its
// end code while rows remain throw EInvalidGraphic.
void DecodeRle(std::span<const std::uint8_t> data, int bitsPerPixel, Bitmap& picture);

}  // namespace vimbrel
