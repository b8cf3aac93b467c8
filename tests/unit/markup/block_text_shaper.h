#pragma once
// Text drawn as solid blocks: each character a cell half as wide as it is high, so the
// tests know exactly which pixels a text covers.
#include <algorithm>
#include <string>

#include "markup/text_shaper.h"

namespace vimbrel::testing {

class BlockTextShaper : public TextShaper {
public:
    Size Measure(const std::string& text, int height) const override {
        int lines = 1, longest = 0, current = 0;
        for (char c : text) {
            if (c == '\n') {
                ++lines;
                current = 0;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                longest = std::max(longest, ++current);
            }
        }
        return Size{longest * std::max(1, height / 2), lines * height};
    }
    GlyphCoverage Draw(const std::string& text, int height, const Rect& window) const override {
        GlyphCoverage g{window, std::vector<std::uint8_t>(std::size_t(window.Width()) * std::size_t(window.Height()), 0)};
        const Size size = Measure(text, height);
        for (int y = window.top; y < window.bottom; ++y)
            for (int x = window.left; x < window.right; ++x)
                if (x >= 0 && y >= 0 && x < size.width && y < size.height)
                    g.coverage[std::size_t(y - window.top) * std::size_t(window.Width()) + std::size_t(x - window.left)] = 255;
        return g;
    }
};

}  // namespace vimbrel::testing
