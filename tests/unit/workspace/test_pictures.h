#pragma once
// Pictures the image-file tests share.
#include "workspace/bitmap.h"

namespace vimbrel::testing {

// A smooth picture JPEG can hold closely.
inline Bitmap Gradient(int width, int height) {
    Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.SetPixelColour(x, y, RgbQuad{std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height), 128, 0});
    return b;
}

}  // namespace vimbrel::testing
