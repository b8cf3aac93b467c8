#pragma once
// Pictures the suites share.
#include <cstdint>

#include "workspace/bitmap.h"

namespace vimbrel::testing {

// A picture whose every pixel differs, so a row or channel mix-up shows: at 32 bits the
// fourth byte varies too; at 8 bits the first 16 entries of the full colour table are used.
inline Bitmap Pattern(int width, int height, int bpp) {
    Bitmap b(width, height, bpp);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (bpp == 8)
                b.Row(y)[x] = std::uint8_t((x + 3 * y) % 16);
            else
                b.SetPixelColour(x, y, RgbQuad{std::uint8_t(x * 40), std::uint8_t(y * 60), std::uint8_t(255 - x * 20),
                                               std::uint8_t(bpp == 32 ? 7 * x + 11 * y : 0)});
        }
    if (bpp == 8)
        for (int i = 0; i < 16; ++i) b.Palette()[std::size_t(i)] = RgbQuad{std::uint8_t(i * 16), std::uint8_t(255 - i), 9, 0};
    return b;
}

// A 24-bit picture told apart from others of its size by its shade.
inline Bitmap Filled(int w, int h, std::uint8_t shade) {
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelColour(x, y, RgbQuad{shade, std::uint8_t(x), std::uint8_t(y), 0});
    return b;
}

// A smooth picture JPEG can hold closely.
inline Bitmap Gradient(int width, int height) {
    Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixelColour(x, y, RgbQuad{std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height), 128, 0});
    return b;
}

// The same size and colours, whatever the depth or colour table that holds them.
inline bool SamePixels(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(a.PixelColour(x, y) == b.PixelColour(x, y))) return false;
    return true;
}

}  // namespace vimbrel::testing
