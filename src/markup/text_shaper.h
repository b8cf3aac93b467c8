#pragma once
// Text as the marks need it: the size of a block of lines and its glyphs as coverage, from
// the platform's font engine.
#include <cstdint>
#include <string>
#include <vector>

#include "util/geometry.h"

namespace vimbrel {

// Coverage (0 to 255) of a window of a text block, row by row.
struct GlyphCoverage {
    Rect window;  // in the block's own pixels
    std::vector<std::uint8_t> coverage;
};

class TextShaper {
public:
    virtual ~TextShaper() = default;
    // Width and height of the lines ('\n' splits them) at a font whose cell is `height` pixels high.
    virtual Size Measure(const std::string& utf8, int height) const = 0;
    // The glyphs inside `window` of that block, white on black: only the window is drawn, so
    // a text of any length costs what is seen of it.
    virtual GlyphCoverage Draw(const std::string& utf8, int height, const Rect& window) const = 0;
};

}  // namespace vimbrel
