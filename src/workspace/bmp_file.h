#pragma once
// Windows bitmap files: the 14-byte file header, a BITMAPINFOHEADER (or a later version),
// masks, colour table, rows bottom-up (or top-down for a negative height).
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "workspace/bitmap.h"

namespace vimbrel {

// Reads 1, 4, 8 (into an 8-bit picture with its colour table), 16 (into 24 bits), 24 and
// 32 bits per pixel, uncompressed or with bit fields, run-length compressed 4 and 8 bits,
// and the 12-byte OS/2 1.x header at 1, 4, 8 and 24 bits. Every size, offset and count is
// checked against the data before anything is allocated, and every run before it is
// written; anything else throws EInvalidGraphic. The picture remembers the file's depth
// and masks for EncodeBmp.
Bitmap DecodeBmp(std::span<const std::uint8_t> file);

// A packed DIB, as the clipboard holds one (CF_DIB, CF_DIBV5): the info header of any
// version, then masks and colour table, then the pixels, with no file header. Read and
// checked as DecodeBmp reads a file.
Bitmap DecodeDib(std::span<const std::uint8_t> dib);
// The picture as a packed DIB for the clipboard: a BITMAPINFOHEADER and uncompressed rows
// bottom-up, at 32 bits for a 32-bit picture and 24 bits for every other.
std::vector<std::uint8_t> EncodeDib(const Bitmap& picture);

// The picture at the depth of the file it was read from (1, 4 or 8 bits with its colour
// table, 16 or 32 bits with the file's bit-field masks) while its pixels still fit it,
// else at its own depth: 8 bits with its colour table, 24 or 32 bits uncompressed.
std::vector<std::uint8_t> EncodeBmp(const Bitmap& picture);

// Bytes handed on in pieces, in file order.
using ByteSink = std::function<void(std::span<const std::uint8_t>)>;
// EncodeBmp's bytes handed on a row at a time, so that a screenful is written without a
// second copy of it in memory.
void EncodeBmpTo(const Bitmap& picture, const ByteSink& put);

}  // namespace vimbrel
