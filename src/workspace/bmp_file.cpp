#include "workspace/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <string>

#include "workspace/bmp_rle.h"
#include "workspace/image_errors.h"

namespace vimbrel {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;  // OS/2 1.x: 16-bit sizes, 3-byte colours
constexpr std::size_t kInfoHeaderSize = 40;

std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

[[noreturn]] void Damaged(const char* why) { throw EInvalidGraphic(std::string("Bitmap file: ") + why); }

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0, bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m);
    }
    std::uint8_t Value(std::uint32_t pixel) const {
        if (bits == 0) return 0;
        std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return std::uint8_t(v >> (bits - 8));
        // Masks are meant to be contiguous; clamp in case a hostile one is not.
        std::uint32_t top = (std::uint32_t(1) << bits) - 1;
        return std::uint8_t(std::min<std::uint32_t>(v, top) * 255 / top);
    }
};

// The bitmap whose info header starts at infoStart: after the file header of a file, at 0
// in a packed DIB, whose pixels follow its colour table (no pixel offset is given).
Bitmap DecodeInfoAndPixels(std::span<const std::uint8_t> file, std::uint64_t infoStart,
                           std::optional<std::uint64_t> givenPixelOffset) {
    const std::size_t size = file.size();
    const std::uint8_t* d = file.data();
    if (size < infoStart + 4) Damaged("too short");
    const std::uint8_t* info = d + infoStart;
    const std::uint64_t headerSize = Get32(info);
    const bool core = headerSize == kCoreHeaderSize;
    if (headerSize < kInfoHeaderSize && !core) Damaged("unsupported header");
    if (infoStart + headerSize > size) Damaged("header beyond the end of the file");
    const std::int32_t width = core ? Get16(info + 4) : std::int32_t(Get32(info + 4));
    const std::int32_t rawHeight = core ? Get16(info + 6) : std::int32_t(Get32(info + 8));
    const int bitCount = Get16(info + (core ? 10 : 14));
    const std::uint32_t compression = core ? kBiRgb : Get32(info + 16);
    const std::uint32_t colourCount = core ? 0 : Get32(info + 32);
    const std::uint64_t entrySize = core ? 3 : 4;

    if (width <= 0 || width > Bitmap::kMaxSide) Damaged("bad width");
    if (rawHeight == 0 || rawHeight < -Bitmap::kMaxSide || rawHeight > Bitmap::kMaxSide) Damaged("bad height");
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        Damaged("unsupported depth");
    if (core && (bitCount == 16 || bitCount == 32)) Damaged("unsupported depth");
    const bool rle = (compression == kBiRle8 && bitCount == 8) || (compression == kBiRle4 && bitCount == 4);
    if (compression != kBiRgb && !rle && !(compression == kBiBitFields && (bitCount == 16 || bitCount == 32)))
        Damaged("unsupported compression");
    if (rle && topDown) Damaged("top-down rows cannot be run-length compressed");

    // Masks follow a 40-byte header, or sit inside the later header versions at the same place.
    std::uint64_t tableStart = infoStart + headerSize;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32) { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
    if (compression == kBiBitFields) {
        const std::uint64_t maskEnd = infoStart + kInfoHeaderSize + 12;
        if (maskEnd > size) Damaged("masks beyond the end of the file");
        for (int i = 0; i < 3; ++i) masks[i] = Get32(d + infoStart + kInfoHeaderSize + 4 * i);
        if (headerSize == kInfoHeaderSize) tableStart = maskEnd;
    }

    std::uint64_t tableEntries = 0;
    if (bitCount <= 8) {
        const std::uint32_t most = 1u << bitCount;
        if (colourCount > most) Damaged("too many colours for the depth");
        tableEntries = colourCount == 0 ? most : colourCount;
    }
    // Deeper pictures may carry an advisory table: a file's pixel offset skips it, in a
    // packed DIB the pixels follow it.
    const std::uint64_t advisory = bitCount > 8 && !givenPixelOffset ? colourCount : 0;
    const std::uint64_t tableEnd = tableStart + entrySize * tableEntries;
    if (tableEnd + entrySize * advisory > size) Damaged("colour table beyond the end of the file");
    const std::uint64_t pixelOffset = givenPixelOffset.value_or(tableEnd + entrySize * advisory);
    if (pixelOffset < tableEnd) Damaged("pixels overlap the colour table or masks");
    if (pixelOffset < infoStart + headerSize) Damaged("pixels overlap the header");

    const std::uint64_t srcStride = Bitmap::StrideFor(width, bitCount);
    if (pixelOffset > size || (!rle && srcStride * std::uint64_t(height) > size - pixelOffset))
        Damaged("pixel data cut short");
    if (rle && !RlePictureSizeAllowed(width, height, size - pixelOffset)) Damaged("too little data for the picture");

    const int outBpp = bitCount <= 8 ? 8 : bitCount == 32 ? 32 : 24;
    if (!Bitmap::SizeAllowed(width, height, outBpp)) Damaged("picture too large");
    Bitmap out;
    try {
        out = Bitmap(width, height, outBpp);
    } catch (const EImageTooLarge& e) {
        throw EInvalidGraphic(e.what());
    }

    if (bitCount <= 8) {
        auto& palette = out.Palette();
        palette.resize(tableEntries);
        for (std::size_t i = 0; i < tableEntries; ++i) {
            const std::uint8_t* q = d + tableStart + entrySize * i;
            palette[i] = RgbQuad{q[0], q[1], q[2], 0};
        }
    }

    if (rle) {
        DecodeRle(file.subspan(pixelOffset), bitCount, out);
        // Saved back uncompressed, at the file's depth.
        if (bitCount < 8) out.SetFileFormat({bitCount, {}});
        return out;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const bool plainCopy = bitCount == 8 || bitCount == 24 || (bitCount == 32 && compression == kBiRgb);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        const std::uint8_t* src = d + pixelOffset + srcStride * std::uint64_t(fileRow);
        std::uint8_t* dst = out.Row(y);
        if (plainCopy) {
            std::memcpy(dst, src, out.Stride() < srcStride ? out.Stride() : srcStride);
        } else if (bitCount < 8) {
            const int perByte = 8 / bitCount;
            const int mask = (1 << bitCount) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bitCount * (x % perByte + 1);
                dst[x] = std::uint8_t((src[x / perByte] >> shift) & mask);
            }
        } else {
            const int step = bitCount / 8;
            const int outStep = outBpp / 8;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t px = step == 2 ? Get16(src + 2 * x) : Get32(src + 4 * x);
                dst[outStep * x] = blue.Value(px);
                dst[outStep * x + 1] = green.Value(px);
                dst[outStep * x + 2] = red.Value(px);
            }
        }
    }
    if (bitCount < 8 || bitCount == 16 || compression == kBiBitFields)
        out.SetFileFormat({bitCount, compression == kBiBitFields ? std::array{masks[0], masks[1], masks[2]}
                                                                 : std::array<std::uint32_t, 3>{}});
    return out;
}

}  // namespace

Bitmap DecodeBmp(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + 4) Damaged("too short");
    if (file[0] != 'B' || file[1] != 'M') Damaged("no BM signature");
    return DecodeInfoAndPixels(file, kFileHeaderSize, Get32(file.data() + 10));
}

Bitmap DecodeDib(std::span<const std::uint8_t> dib) { return DecodeInfoAndPixels(dib, 0, std::nullopt); }

namespace {

// Masks that each cover one run of bits, without sharing any, give the read colours back
// when written again; others (only ever in made-up files) are not kept.
bool MasksRoundTrip(const std::array<std::uint32_t, 3>& masks) {
    std::uint32_t seen = 0;
    for (std::uint32_t m : masks) {
        const std::uint32_t run = m ? m >> std::countr_zero(m) : 0;
        if ((run & (run + 1)) != 0 || (seen & m) != 0) return false;
        seen |= m;
    }
    return true;
}

// The depth and masks a picture is written with: those of the file it came from when its
// pixels still fit them, else its own depth.
StoredFormat WrittenFormat(const Bitmap& picture) {
    const StoredFormat& stored = picture.FileFormat();
    const int bpp = picture.BitsPerPixel();
    StoredFormat own{bpp, {}};
    if (stored.bitsPerPixel == 1 || stored.bitsPerPixel == 4) {
        const std::size_t most = std::size_t(1) << stored.bitsPerPixel;
        if (bpp != 8 || picture.Palette().size() > most) return own;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                if (picture.Row(y)[x] >= most) return own;
        return stored;
    }
    if (((stored.bitsPerPixel == 16 && bpp != 8) || (stored.bitsPerPixel == 32 && bpp == 32)) &&
        MasksRoundTrip(stored.masks)) {
        StoredFormat packed = stored;
        if (!packed.HasMasks()) packed.masks = {0x7C00, 0x03E0, 0x001F};  // 16 bits without bit fields
        return packed;
    }
    return own;
}

// An 8-bit channel value placed under its mask, the reverse of Channel::Value.
std::uint32_t Pack(std::uint32_t mask, std::uint8_t value) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    std::uint32_t v = bits >= 8 ? std::uint32_t(value) << (bits - 8)
                                : (std::uint32_t(value) * ((std::uint32_t(1) << bits) - 1) + 127) / 255;
    return (v << shift) & mask;
}

// One row converted to the file's depth or bit fields (rows as held are written unchanged).
void PutRow(std::vector<std::uint8_t>& out, const Bitmap& picture, int y, const StoredFormat& format) {
    const int bits = format.bitsPerPixel;
    const std::size_t stride = Bitmap::StrideFor(picture.Width(), bits);
    const std::size_t start = out.size();
    out.resize(start + stride, 0);
    std::uint8_t* row = out.data() + start;
    for (int x = 0; x < picture.Width(); ++x) {
        if (bits < 8) {
            const int perByte = 8 / bits;
            row[x / perByte] |= std::uint8_t(picture.Row(y)[x] << (8 - bits * (x % perByte + 1)));
            continue;
        }
        const RgbQuad c = picture.PixelColour(x, y);
        const std::uint32_t px = Pack(format.masks[0], c.red) | Pack(format.masks[1], c.green) |
                                 Pack(format.masks[2], c.blue);
        for (int i = 0; i < bits / 8; ++i) row[std::size_t(x) * (bits / 8) + i] = std::uint8_t(px >> (8 * i));
    }
}

}  // namespace

void EncodeBmpTo(const Bitmap& picture, const ByteSink& put) {
    const StoredFormat format = WrittenFormat(picture);
    const int bpp = format.bitsPerPixel;
    // 16-bit pixels without bit fields are 5-5-5, which needs no masks in the file.
    const bool bitFields = picture.FileFormat().HasMasks() && format.HasMasks();
    std::size_t tableEntries = 0;
    const std::size_t most = std::size_t(1) << std::min(bpp, 8);
    if (bpp <= 8) tableEntries = picture.Palette().empty() ? most : std::min(picture.Palette().size(), most);
    const std::uint32_t pixelOffset =
        std::uint32_t(kFileHeaderSize + kInfoHeaderSize + (bitFields ? 12 : 0) + 4 * tableEntries);
    const std::uint32_t imageSize = std::uint32_t(Bitmap::StrideFor(picture.Width(), bpp) * std::size_t(picture.Height()));

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + imageSize);
    Put32(out, 0);
    Put32(out, pixelOffset);

    Put32(out, kInfoHeaderSize);
    Put32(out, std::uint32_t(picture.Width()));
    Put32(out, std::uint32_t(picture.Height()));
    Put16(out, 1);
    Put16(out, std::uint32_t(bpp));
    Put32(out, bitFields ? kBiBitFields : kBiRgb);
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, tableEntries == most ? 0 : std::uint32_t(tableEntries));
    Put32(out, 0);

    if (bitFields)
        for (std::uint32_t mask : format.masks) Put32(out, mask);
    for (std::size_t i = 0; i < tableEntries; ++i) {
        RgbQuad q = i < picture.Palette().size() ? picture.Palette()[i] : RgbQuad{};
        out.insert(out.end(), {q.blue, q.green, q.red, 0});
    }
    put(out);
    const bool asHeld = bpp == picture.BitsPerPixel() && !bitFields;
    std::vector<std::uint8_t> row;
    for (int y = picture.Height() - 1; y >= 0; --y) {
        if (asHeld) {
            put({picture.Row(y), picture.Stride()});
            continue;
        }
        row.clear();
        PutRow(row, picture, y, format);
        put(row);
    }
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap& picture) {
    std::vector<std::uint8_t> out;
    out.reserve(kFileHeaderSize + kInfoHeaderSize + 12 + 4 * 256 + picture.DataSize());
    EncodeBmpTo(picture, [&out](std::span<const std::uint8_t> bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); });
    return out;
}

std::vector<std::uint8_t> EncodeDib(const Bitmap& picture) {
    const int bpp = picture.BitsPerPixel() == 32 ? 32 : 24;
    const std::size_t stride = Bitmap::StrideFor(picture.Width(), bpp);
    const std::size_t imageSize = stride * std::size_t(picture.Height());
    std::vector<std::uint8_t> out;
    out.reserve(kInfoHeaderSize + imageSize);
    Put32(out, kInfoHeaderSize);
    Put32(out, std::uint32_t(picture.Width()));
    Put32(out, std::uint32_t(picture.Height()));
    Put16(out, 1);
    Put16(out, std::uint32_t(bpp));
    Put32(out, kBiRgb);
    Put32(out, std::uint32_t(imageSize));
    for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and colour counts
    for (int y = picture.Height() - 1; y >= 0; --y) {
        if (bpp == picture.BitsPerPixel()) {
            out.insert(out.end(), picture.Row(y), picture.Row(y) + stride);
            continue;
        }
        const std::size_t start = out.size();
        out.resize(start + stride, 0);
        for (int x = 0; x < picture.Width(); ++x) {
            const RgbQuad c = picture.PixelColour(x, y);
            std::uint8_t* p = out.data() + start + 3 * std::size_t(x);
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
    return out;
}

}  // namespace vimbrel
