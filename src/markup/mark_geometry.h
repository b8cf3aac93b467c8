#pragma once
// Where a mark lies: its bounds, whether a point touches it, its handles, and the mark
// moved or resized by one of them. All in the picture's pixels.
#include <array>
#include <vector>

#include "markup/mark.h"
#include "markup/text_shaper.h"

namespace vimbrel {

struct Vec {
    double x = 0, y = 0;
};

// The triangle of an arrow's head: the tip at `to`, two wings behind it. The shaft ends at
// the middle of the wings.
struct ArrowHead {
    std::array<Vec, 3> corners;  // tip, left wing, right wing
    Vec base;
};
ArrowHead ArrowHeadOf(Point from, Point to, int width);

// The radius of a numbered step's circle.
int StepRadius(const MarkStyle& style);
// The text box's size; an empty text still has the height of one line, for the caret.
Size TextBoxSize(const Mark& text, const TextShaper& shaper);

// Every pixel the mark may touch, normalised.
Rect MarkBounds(const Mark& mark, const TextShaper& shaper);

// Whether `at` touches the mark, with `tolerance` pixels around its strokes.
bool Touches(const Mark& mark, Point at, int tolerance, const TextShaper& shaper);

// The resize handles: eight for a box (corners and sides, clockwise from the top-left),
// the two ends of a line or arrow, none for the others (they only move).
std::vector<Point> HandlesOf(const Mark& mark);
// The handle within `tolerance` of `at`, or -1.
int HandleAt(const Mark& mark, Point at, int tolerance);

Mark Moved(const Mark& mark, int dx, int dy);
// The mark with handle `handle` dragged to `to`; a box is kept normalised.
Mark Resized(const Mark& mark, int handle, Point to);

// Whether a mark just drawn is large enough to keep (a click with a box tool is not a box).
bool WorthKeeping(const Mark& mark);

}  // namespace vimbrel
