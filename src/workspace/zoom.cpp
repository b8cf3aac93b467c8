#include "workspace/zoom.h"

#include <cstring>
#include <vector>

namespace vimbrel {

int ScaledSide(int side, double factor) {
    double scaled = double(side) * factor;
    // Checked in floating point first so that an absurd factor never overflows the integer.
    if (!(scaled >= 0.0) || scaled > double(Bitmap::kMaxSide) + 0.5)
        throw EImageTooLarge("A side of " + std::to_string(scaled) + " pixels cannot be held");
    const int rounded = RoundHalfEven(scaled);
    if (rounded > Bitmap::kMaxSide) throw EImageTooLarge("A side of " + std::to_string(rounded) + " pixels cannot be held");
    return rounded;
}

std::string FormatZoomRatio(int n, int d) { return std::to_string(n) + ":" + std::to_string(d); }

namespace {

// Source column or row for each target one: the source pixel under the target pixel's
// left or top edge.
std::vector<int> SourceIndices(int target, int source) {
    std::vector<int> map(static_cast<std::size_t>(target));
    for (int i = 0; i < target; ++i) map[std::size_t(i)] = int((long long)i * source / target);
    return map;
}

void ScaleRow(const Bitmap& source, int sy, const std::vector<int>& xs, std::uint8_t* out) {
    const std::uint8_t* in = source.Row(sy);
    switch (source.BitsPerPixel()) {
    case 24:
        for (int sx : xs) {
            const std::uint8_t* p = in + 3 * std::size_t(sx);
            out[0] = p[0]; out[1] = p[1]; out[2] = p[2];
            out += 3;
        }
        break;
    case 32:
        for (int sx : xs) {
            const std::uint8_t* p = in + 4 * std::size_t(sx);
            out[0] = p[0]; out[1] = p[1]; out[2] = p[2];
            out += 3;
        }
        break;
    default: {
        const auto& palette = source.Palette();
        for (int sx : xs) {
            std::uint8_t index = in[sx];
            RgbQuad c = index < palette.size() ? palette[index] : RgbQuad{};
            out[0] = c.blue; out[1] = c.green; out[2] = c.red;
            out += 3;
        }
    }
    }
}

}  // namespace

Bitmap ScaleNearest(const Bitmap& source, int width, int height) {
    Bitmap target(width, height, 24);
    if (target.Empty() || source.Empty()) return target;
    std::vector<int> xs = SourceIndices(width, source.Width());
    std::vector<int> ys = SourceIndices(height, source.Height());
    const std::size_t rowBytes = 3 * std::size_t(width);
    for (int y = 0; y < height; ++y) {
        // Enlarged pictures repeat source rows: copy the row already built.
        if (y > 0 && ys[std::size_t(y)] == ys[std::size_t(y) - 1])
            std::memcpy(target.Row(y), target.Row(y - 1), rowBytes);
        else
            ScaleRow(source, ys[std::size_t(y)], xs, target.Row(y));
    }
    return target;
}

}  // namespace vimbrel
