#include "workspace/bmp_rle.h"

#include <string>

#include "workspace/image_errors.h"

namespace vimbrel {
namespace {

// Pictures up to this many pixels may be described by any amount of data; larger ones need
// one byte for every kMostPixelsPerByte pixels. A row written out in encoded runs takes a
// byte for every 127.5 pixels at best, so real files stay well inside this.
constexpr std::uint64_t kFreePixels = std::uint64_t(1) << 24;
constexpr std::uint64_t kMostPixelsPerByte = 256;

[[noreturn]] void Damaged(const char* why) { throw EInvalidGraphic(std::string("Bitmap run-length data: ") + why); }

// Pixel i of packed data: whole bytes at 8 bits, high nibble first at 4.
std::uint8_t PackedIndex(const std::uint8_t* packed, int i, bool nibbles) {
    if (!nibbles) return packed[i];
    const std::uint8_t b = packed[i / 2];
    return i % 2 ? b & 0x0F : b >> 4;
}

}  // namespace

bool RlePictureSizeAllowed(int width, int height, std::uint64_t dataBytes) {
    const std::uint64_t pixels = std::uint64_t(width) * std::uint64_t(height);
    return pixels <= kFreePixels || pixels / kMostPixelsPerByte <= dataBytes;
}

void DecodeRle(std::span<const std::uint8_t> data, int bitsPerPixel, Bitmap& picture) {
    const bool nibbles = bitsPerPixel == 4;
    const int width = picture.Width(), height = picture.Height();
    std::size_t at = 0;
    auto next = [&]() -> std::uint8_t {
        if (at >= data.size()) Damaged("cut short");
        return data[at++];
    };
    // The cursor: x along the row, y in rows from the bottom. y == height is the place after
    // the last row, where encoders put their final end of line; nothing may be written there.
    int x = 0, y = 0;
    auto place = [&](int count) -> std::uint8_t* {
        if (y >= height) Damaged("run past the last row");
        if (count > width - x) Damaged("run past the end of a row");
        std::uint8_t* p = picture.Row(height - 1 - y) + x;
        x += count;
        return p;
    };

    for (;;) {
        // Some writers stop after the last row's end of line without an end code.
        if (at >= data.size() && y >= height) return;
        const int count = next();
        const int code = next();
        if (count > 0) {
            // At 4 bits the byte holds two colours that take turns.
            const std::uint8_t first = std::uint8_t(nibbles ? code >> 4 : code);
            const std::uint8_t second = std::uint8_t(nibbles ? code & 0x0F : code);
            std::uint8_t* dst = place(count);
            for (int i = 0; i < count; ++i) dst[i] = i % 2 ? second : first;
        } else if (code == 0) {
            if (y >= height) Damaged("end of line past the last row");
            ++y;
            x = 0;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            const int dx = next(), dy = next();
            if (dx > width - x || dy >= height - y) Damaged("move past the picture");
            x += dx;
            y += dy;
        } else {
            // A literal run: code pixels packed like uncompressed rows, padded to a whole word.
            std::size_t bytes = nibbles ? std::size_t(code + 1) / 2 : std::size_t(code);
            if (data.size() - at < bytes) Damaged("cut short");
            std::uint8_t* dst = place(code);
            for (int i = 0; i < code; ++i) dst[i] = PackedIndex(data.data() + at, i, nibbles);
            bytes += bytes % 2;
            at = data.size() - at < bytes ? data.size() : at + bytes;
        }
    }
}

}  // namespace vimbrel
