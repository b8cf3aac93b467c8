#include "workspace/bitmap.h"

#include <new>
#include <string>

namespace vimbrel {

std::size_t Bitmap::StrideFor(int width, int bitsPerPixel) {
    return ((std::size_t(width) * std::size_t(bitsPerPixel) + 31) / 32) * 4;
}

bool Bitmap::SizeAllowed(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) return false;
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) return false;
    return StrideFor(width, bitsPerPixel) * std::size_t(height) <= kMaxBytes;
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel) : Bitmap(width, height, bitsPerPixel, Fill::Black) {}

Bitmap Bitmap::Unfilled(int width, int height, int bitsPerPixel) {
    return Bitmap(width, height, bitsPerPixel, Fill::None);
}

Bitmap::Bitmap(int width, int height, int bitsPerPixel, Fill fill) {
    if (!SizeAllowed(width, height, bitsPerPixel))
        throw EImageTooLarge("A picture of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels at " + std::to_string(bitsPerPixel) + " bits cannot be held");
    width_ = width;
    height_ = height;
    bpp_ = bitsPerPixel;
    stride_ = StrideFor(width, bitsPerPixel);
    try {
        if (fill == Fill::Black)
            data_.assign(stride_ * std::size_t(height), 0);
        else
            data_.resize(stride_ * std::size_t(height));
    } catch (const std::bad_alloc&) {
        throw EImageTooLarge("Not enough memory for a picture of " + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels");
    }
    if (bpp_ == 8) palette_.assign(256, RgbQuad{});
}

RgbQuad Bitmap::PixelColour(int x, int y) const {
    const std::uint8_t* row = Row(y);
    switch (bpp_) {
    case 8: {
        std::uint8_t index = row[x];
        return index < palette_.size() ? palette_[index] : RgbQuad{};
    }
    case 24: return RgbQuad{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
    default: return RgbQuad{row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]};
    }
}

void Bitmap::SetPixelColour(int x, int y, RgbQuad c) {
    std::uint8_t* row = Row(y);
    if (bpp_ == 24) {
        row[3 * x] = c.blue; row[3 * x + 1] = c.green; row[3 * x + 2] = c.red;
    } else if (bpp_ == 32) {
        row[4 * x] = c.blue; row[4 * x + 1] = c.green; row[4 * x + 2] = c.red; row[4 * x + 3] = c.reserved;
    } else {
        throw std::logic_error("SetPixelColour needs a 24- or 32-bit picture");
    }
}

}  // namespace vimbrel
