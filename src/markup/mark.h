#pragma once
// One mark drawn over the picture: a shape, a stroke, a text box, a numbered step or a
// redaction box, held in the picture's own pixel coordinates with the style it was drawn in.
#include <cstdint>
#include <string>
#include <vector>

#include "util/geometry.h"

namespace vimbrel {

enum class MarkTool { Select, Rectangle, Ellipse, Line, Arrow, Pen, Highlighter, Text, Step, Redact };

struct MarkColour {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const MarkColour&, const MarkColour&) = default;
};

struct MarkStyle {
    MarkColour colour{220, 30, 30};
    int width = 3;        // line width in picture pixels
    bool fill = false;    // shapes filled; a redaction box filled solid instead of pixelated
    int fontSize = 24;    // text height in picture pixels; a step's circle follows it
    friend bool operator==(const MarkStyle&, const MarkStyle&) = default;
};

struct Mark {
    MarkTool kind = MarkTool::Rectangle;
    MarkStyle style;
    // Two corners (rectangle, ellipse, redaction), the two ends (line, arrow), the path
    // (pen, highlighter), the top-left corner (text) or the centre (step).
    std::vector<Point> points;
    std::string text;  // UTF-8, lines split by '\n'
    friend bool operator==(const Mark&, const Mark&) = default;
};

// Whether the kind is drawn from two opposite corners and resized by eight handles.
constexpr bool IsBoxKind(MarkTool kind) {
    return kind == MarkTool::Rectangle || kind == MarkTool::Ellipse || kind == MarkTool::Redact;
}
constexpr bool IsStrokeKind(MarkTool kind) { return kind == MarkTool::Pen || kind == MarkTool::Highlighter; }
constexpr bool IsLineKind(MarkTool kind) { return kind == MarkTool::Line || kind == MarkTool::Arrow; }

}  // namespace vimbrel
