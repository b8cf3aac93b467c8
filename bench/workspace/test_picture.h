#pragma once
// The picture the image file benchmarks write: 1920 x 1080, 24 bits, shaped like a screen
// capture (flat panels, gradients, fine detail), the same on every run.
#include <algorithm>
#include <cstdint>

#include "workspace/bitmap.h"

namespace vimbrel::bench {

inline Bitmap ScreenLikePicture(int width = 1920, int height = 1080) {
    Bitmap b(width, height, 24);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = b.Row(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            std::uint8_t blue, green, red;
            if (y < 40) {  // title bar gradient
                blue = std::uint8_t(128 + x * 127 / width);
                green = std::uint8_t(60 + y);
                red = 30;
            } else if ((x / 240 + y / 135) % 3 == 0) {  // flat window panels
                blue = green = red = 236;
            } else if ((x / 8) % 2 == (y / 16) % 2 && (y % 16) < 12) {  // text-like detail
                blue = green = red = std::uint8_t((noise >> 24) & 0x3F);
            } else {  // a photo-like area
                blue = std::uint8_t((x * 3 + y) & 0xFF);
                green = std::uint8_t((x + y * 2) & 0xFF);
                red = std::uint8_t(((x ^ y) + (noise >> 28)) & 0xFF);
            }
            row[3 * x] = blue;
            row[3 * x + 1] = green;
            row[3 * x + 2] = red;
        }
    }
    return b;
}

}  // namespace vimbrel::bench

namespace vimbrel::bench {

// A capture of windows of text, 32 bits with the fourth byte unused as screen grabs give
// it: a flat desktop, two windows (flat title bars, a menu strip, white pages of text, a
// scroll bar) and a task bar. Glyphs are drawn from a small made-up bitmap font (each
// character always the same shape, sharp edges, a grey edge pixel here and there), the
// text lines from a fixed paragraph, so the picture has a real screen's few colours and
// repeated shapes. The same on every run.
inline Bitmap TextCapturePicture(int width = 1920, int height = 1080) {
    Bitmap b(width, height, 32);
    const auto fill = [&](int x0, int y0, int x1, int y1, RgbQuad c) {
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x) b.SetPixelColour(x, y, c);
    };
    const RgbQuad desktop{110, 84, 58, 0}, white{255, 255, 255, 0}, black{0, 0, 0, 0}, grey{212, 208, 200, 0},
        dark{128, 128, 128, 0}, edge{160, 160, 160, 0}, title{128, 0, 0, 0}, titleText{255, 255, 255, 0};
    fill(0, 0, width, height, desktop);
    // One glyph of the font: 7 x 11 in a 8 x 16 cell, bits of a hash of the character.
    const auto glyph = [](unsigned char c, int gx, int gy) {
        if (c == ' ') return 0;
        std::uint32_t h = c * 2654435761u;
        h ^= std::uint32_t(gx * 7 + gy * 131) * 40503u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        h ^= h >> 15;
        const bool stem = gx == 1 + c % 3 || gy == 10 || (gy == 5 && c % 2);
        return stem || (h & 7) < 2 ? 2 : (h & 31) == 5 ? 1 : 0;  // 2 ink, 1 grey edge
    };
    static const char kText[] =
        "Vimbrel is a native Windows screen-capture utility. It starts hidden in the notification area, "
        "captures on system-wide hotkeys (the whole screen, the last active window, or a rectangle dragged "
        "over a frozen desktop) and shows the capture in its main window, where it can be zoomed, printed, "
        "saved as a bitmap, JPEG or PNG file, handed to an image editor, enciphered and mailed. Settings "
        "live in the registry; a second start hands its command line to the running instance. ";
    const int textLength = int(sizeof kText) - 1;
    const auto window = [&](int x0, int y0, int x1, int y1, int textStart) {
        fill(x0, y0, x1, y1, grey);
        fill(x0 + 3, y0 + 3, x1 - 3, y0 + 25, title);
        for (int i = 0; i < 24; ++i)  // the title
            for (int gy = 0; gy < 11; ++gy)
                for (int gx = 0; gx < 7; ++gx)
                    if (glyph(static_cast<unsigned char>(kText[i]), gx, gy) == 2)
                        b.SetPixelColour(x0 + 8 + 8 * i + gx, y0 + 8 + gy, titleText);
        fill(x0 + 3, y0 + 46, x1 - 3, y1 - 3, dark);
        fill(x0 + 5, y0 + 48, x1 - 22, y1 - 5, white);
        fill(x1 - 21, y0 + 48, x1 - 5, y1 - 5, grey);
        fill(x1 - 19, y0 + 70, x1 - 7, y0 + 160, edge);
        int at = textStart;
        const int columns = (x1 - 22 - (x0 + 10)) / 8;
        for (int top = y0 + 52; top + 16 <= y1 - 5; top += 16) {
            const int length = columns - 2 - (at * 7) % 23;  // ragged right edge
            for (int i = 0; i < length; ++i) {
                const unsigned char c = static_cast<unsigned char>(kText[(at + i) % textLength]);
                for (int gy = 0; gy < 11; ++gy)
                    for (int gx = 0; gx < 7; ++gx) {
                        const int ink = glyph(c, gx, gy);
                        if (ink) b.SetPixelColour(x0 + 10 + 8 * i + gx, top + 2 + gy, ink == 2 ? black : edge);
                    }
            }
            at += length;
        }
    };
    window(width / 12, height / 14, width * 7 / 12, height * 13 / 14 - 30, 0);
    window(width / 2, height / 5, width * 23 / 24, height * 5 / 6, 151);
    fill(0, height - 30, width, height, grey);
    fill(2, height - 27, 60, height - 3, edge);
    return b;
}

}  // namespace vimbrel::bench
