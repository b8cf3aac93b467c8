#pragma once
// The picture the image file benchmarks write: 1920 x 1080, 24 bits, shaped like a screen
// capture (flat panels, gradients, fine detail), the same on every run.
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
