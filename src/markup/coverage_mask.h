#pragma once
// Antialiased shapes as coverage: each shape adds how much of every pixel it covers (the
// larger cover wins where shapes meet, so a stroke's joints and a translucent highlight do
// not darken twice), and the mask is then blended into a picture in one colour.
#include <cstdint>
#include <vector>

#include "markup/mark.h"
#include "markup/mark_geometry.h"
#include "markup/text_shaper.h"
#include "workspace/bitmap.h"

namespace vimbrel {

class CoverageMask {
public:
    // Empties the mask over `area` (target pixels); shapes outside it are cut off.
    void Reset(const Rect& area);
    const Rect& Area() const { return area_; }
    std::uint8_t At(int x, int y) const;

    // A stroke from a to b, round at both ends.
    void Segment(Vec a, Vec b, double halfWidth);
    // The box [left, right) x [top, bottom), edges antialiased.
    void Box(double left, double top, double right, double bottom);
    // The border of that box, `width` wide on its inside.
    void BoxBorder(double left, double top, double right, double bottom, double width);
    // The ellipse in that box: filled, or its outline `width` wide centred on the edge.
    void Ellipse(double left, double top, double right, double bottom, bool fill, double width);
    // A convex polygon, corners in either order.
    void ConvexPolygon(const Vec* corners, int count);
    // Glyph coverage whose window's top-left lands at `at`.
    void Glyphs(const GlyphCoverage& glyphs, Point at);

    // target += (colour - target) x coverage x opacity, for a 24- or 32-bit target.
    void BlendInto(Bitmap& target, MarkColour colour, double opacity) const;

private:
    void Put(int x, int y, double cover);
    void Touched(int x, int y);

    Rect area_;
    std::vector<std::uint8_t> cover_;
    // Per row, the columns shapes reached, [first, last]; first > last for an empty row.
    std::vector<int> first_, last_;
};

// A solid rectangle of target pixels, cut to the target.
void FillPixels(Bitmap& target, const Rect& area, MarkColour colour);

}  // namespace vimbrel
