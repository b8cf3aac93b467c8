#include "workspace/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
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

}  // namespace

Bitmap DecodeBmp(std::span<const std::uint8_t> file) {
    const std::size_t size = file.size();
    const std::uint8_t* d = file.data();
    if (size < kFileHeaderSize + 4) Damaged("too short");
    if (d[0] != 'B' || d[1] != 'M') Damaged("no BM signature");
    const std::uint64_t pixelOffset = Get32(d + 10);

    const std::uint8_t* info = d + kFileHeaderSize;
    const std::uint64_t headerSize = Get32(info);
    const bool core = headerSize == kCoreHeaderSize;
    if (headerSize < kInfoHeaderSize && !core) Damaged("unsupported header");
    if (kFileHeaderSize + headerSize > size) Damaged("header beyond the end of the file");
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
    std::uint64_t tableStart = kFileHeaderSize + headerSize;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32) { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
    if (compression == kBiBitFields) {
        const std::uint64_t maskEnd = kFileHeaderSize + kInfoHeaderSize + 12;
        if (maskEnd > size) Damaged("masks beyond the end of the file");
        for (int i = 0; i < 3; ++i) masks[i] = Get32(d + kFileHeaderSize + kInfoHeaderSize + 4 * i);
        if (headerSize == kInfoHeaderSize) tableStart = maskEnd;
    }

    std::uint64_t tableEntries = 0;
    if (bitCount <= 8) {
        const std::uint32_t most = 1u << bitCount;
        if (colourCount > most) Damaged("too many colours for the depth");
        tableEntries = colourCount == 0 ? most : colourCount;
    }  // deeper pictures may carry an advisory table; the pixel offset already skips it
    const std::uint64_t tableEnd = tableStart + entrySize * tableEntries;
    if (tableEnd > size) Damaged("colour table beyond the end of the file");
    if (pixelOffset < tableEnd) Damaged("pixels overlap the colour table or masks");
    if (pixelOffset < kFileHeaderSize + headerSize) Damaged("pixels overlap the header");

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
    return out;
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap& picture) {
    const int bpp = picture.BitsPerPixel();
    std::size_t tableEntries = 0;
    if (bpp <= 8) tableEntries = picture.Palette().empty() ? 256 : std::min<std::size_t>(picture.Palette().size(), 256);
    const std::uint32_t pixelOffset = std::uint32_t(kFileHeaderSize + kInfoHeaderSize + 4 * tableEntries);
    const std::uint32_t imageSize = std::uint32_t(picture.Stride() * std::size_t(picture.Height()));

    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(pixelOffset) + imageSize);
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
    Put32(out, kBiRgb);
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, tableEntries == 256 ? 0 : std::uint32_t(tableEntries));
    Put32(out, 0);

    for (std::size_t i = 0; i < tableEntries; ++i) {
        RgbQuad q = i < picture.Palette().size() ? picture.Palette()[i] : RgbQuad{};
        out.insert(out.end(), {q.blue, q.green, q.red, 0});
    }
    for (int y = picture.Height() - 1; y >= 0; --y)
        out.insert(out.end(), picture.Row(y), picture.Row(y) + picture.Stride());
    return out;
}

}  // namespace vimbrel
