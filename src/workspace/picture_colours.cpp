#include "workspace/picture_colours.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vimbrel {
namespace {

// An open-addressed table from a colour (red, green and blue in the low 24 bits) to its
// index; a slot's key has bit 24 set when it is taken. Four times the colours it may hold,
// so a probe ends after a slot or two.
class ColourSlots {
public:
    // The colour's index, a new one when it is new; -1 when it would be colour number
    // limit + 1.
    [[gnu::noinline]] int Find(std::uint32_t colour, int limit, std::vector<RgbQuad>& table) {
        const std::uint32_t key = colour | kTaken;
        std::size_t at = ((colour * 0x9E3779B1u) >> 22) & (kSlots - 1);
        while (keys_[at] != 0) {
            if (keys_[at] == key) return index_[at];
            at = (at + 1) & (kSlots - 1);
        }
        if (int(table.size()) >= limit) return -1;
        keys_[at] = key;
        index_[at] = std::uint8_t(table.size());
        table.push_back(RgbQuad{std::uint8_t(colour), std::uint8_t(colour >> 8), std::uint8_t(colour >> 16), 0});
        return index_[at];
    }

private:
    static constexpr std::uint32_t kTaken = 1u << 24;
    static constexpr std::size_t kSlots = 1024;
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> index_{};
};

}  // namespace

bool IndexColours(const Bitmap& picture, int maxColours, std::vector<RgbQuad>& table, std::uint8_t* out,
                  std::size_t outStride) {
    const int bytes = picture.BitsPerPixel() / 8;
    if (bytes < 3) return false;
    const int limit = std::clamp(maxColours, 0, 256);
    table.clear();
    ColourSlots slots;
    // Screens are mostly runs of one colour, and text switches between two: a pixel like
    // the one before, or like the colour before that, costs a compare or two.
    std::uint32_t last = 0xFFFFFFFFu, before = 0xFFFFFFFFu;
    std::uint8_t lastIndex = 0, beforeIndex = 0;
    const int width = picture.Width();
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* p = picture.Row(y);
        std::uint8_t* indices = out + std::size_t(y) * outStride;
        for (int x = 0; x < width; ++x, p += bytes) {
            std::uint32_t colour;
            if (bytes == 4) {
                std::memcpy(&colour, p, 4);
                colour &= 0xFFFFFFu;
            } else {
                colour = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
            }
            if (colour != last) [[unlikely]] {
                std::uint8_t index = beforeIndex;
                if (colour != before) {
                    const int i = slots.Find(colour, limit, table);
                    if (i < 0) return false;
                    index = std::uint8_t(i);
                }
                before = last;
                beforeIndex = lastIndex;
                last = colour;
                lastIndex = index;
            }
            indices[x] = lastIndex;
        }
    }
    return true;
}

}  // namespace vimbrel
