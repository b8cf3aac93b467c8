#pragma once
// Where the area overlay draws what it shows beside the frozen desktop: the size readout,
// the magnifier and the parts of the screen one change makes stale. Lengths are in the
// overlay's physical pixels.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "util/geometry.h"
#include "workspace/bitmap.h"

namespace vimbrel {

// "640 x 480" for a selection, "1024, 768" for the pointer while nothing is selected.
std::string SizeReadout(const Rect& selection);
std::string PointerReadout(Point pointer);

// The readout's box: below the selection's bottom left corner, above its top when there is
// no room below, inside its top left corner when there is none above either; always
// inside `screen`. `anchor` is the selection (or the pointer as an empty rectangle).
Rect ReadoutPlace(const Rect& anchor, Size box, const Rect& screen, int gap);

// The magnifier's box: below and right of the pointer, moved to the other side of the
// pointer along an axis where it would leave `monitor` (the screen that holds the pointer),
// so it never covers the pointer; on a monitor too small for it, pinned to its top left.
Rect LoupePlace(Point pointer, Size box, const Rect& monitor, int gap);

// The magnifier's view of the pixels around `centre`: side x side source pixels (odd), each
// drawn as a square of `zoom` pixels.
struct LoupeView {
    int side = 15;
    int zoom = 8;
    Rect SourceAround(Point centre) const { return Rect::At(centre.x - side / 2, centre.y - side / 2, side, side); }
    int Pixels() const { return side * zoom; }
};

// The frozen desktop outside the selection shows at half its brightness: each colour
// channel halved.
constexpr std::uint8_t DimmedChannel(std::uint8_t channel) { return std::uint8_t(channel >> 1); }
void DimPixels(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes);

// "#RRGGBB" of a pixel of the picture; "" outside it.
std::string HexColour(const Bitmap& picture, Point at);

// The pixels that change when a rectangle drawn with a border of `border` pixels around
// it goes from `before` to `after`: the parts inside one and not the other, and both
// borders. Empty rectangles add nothing.
std::vector<Rect> ChangedAreas(const Rect& before, const Rect& after, int border);

// a without b: up to four rectangles.
std::vector<Rect> Subtract(const Rect& a, const Rect& b);

}  // namespace vimbrel
