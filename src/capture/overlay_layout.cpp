#include "capture/overlay_layout.h"

#include <algorithm>
#include <cstdio>

namespace vimbrel {
namespace {

// Moves box inside room along both axes (to room's top left when it does not fit).
Rect Inside(Rect box, const Rect& room) {
    const int dx = box.right > room.right ? room.right - box.right : 0;
    const int dy = box.bottom > room.bottom ? room.bottom - box.bottom : 0;
    box = Offset(box, dx, dy);
    return Offset(box, box.left < room.left ? room.left - box.left : 0, box.top < room.top ? room.top - box.top : 0);
}

}  // namespace

std::string SizeReadout(const Rect& selection) {
    return std::to_string(selection.Width()) + " x " + std::to_string(selection.Height());
}

std::string PointerReadout(Point pointer) { return std::to_string(pointer.x) + ", " + std::to_string(pointer.y); }

Rect ReadoutPlace(const Rect& anchor, Size box, const Rect& screen, int gap) {
    Rect below = Rect::At(anchor.left, anchor.bottom + gap, box.width, box.height);
    if (below.bottom <= screen.bottom) return Inside(below, screen);
    Rect above = Rect::At(anchor.left, anchor.top - gap - box.height, box.width, box.height);
    if (above.top >= screen.top) return Inside(above, screen);
    return Inside(Rect::At(anchor.left + gap, anchor.top + gap, box.width, box.height), screen);
}

Rect LoupePlace(Point pointer, Size box, const Rect& monitor, int gap) {
    int left = pointer.x + gap + 1, top = pointer.y + gap + 1;
    if (left + box.width > monitor.right) left = pointer.x - gap - box.width;
    if (top + box.height > monitor.bottom) top = pointer.y - gap - box.height;
    // A monitor narrower than the box on both sides of the pointer: keep it on the monitor.
    if (left < monitor.left) left = monitor.left;
    if (top < monitor.top) top = monitor.top;
    return Rect::At(left, top, box.width, box.height);
}

void DimPixels(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) to[i] = DimmedChannel(from[i]);
}

std::string HexColour(const Bitmap& picture, Point at) {
    if (at.x < 0 || at.y < 0 || at.x >= picture.Width() || at.y >= picture.Height()) return {};
    const RgbQuad c = picture.PixelColour(at.x, at.y);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

std::vector<Rect> Subtract(const Rect& a, const Rect& b) {
    if (a.Empty()) return {};
    const Rect common = Intersect(a, b);
    if (common.Empty()) return {a};
    std::vector<Rect> parts;
    if (a.top < common.top) parts.push_back(Rect{a.left, a.top, a.right, common.top});
    if (common.bottom < a.bottom) parts.push_back(Rect{a.left, common.bottom, a.right, a.bottom});
    if (a.left < common.left) parts.push_back(Rect{a.left, common.top, common.left, common.bottom});
    if (common.right < a.right) parts.push_back(Rect{common.right, common.top, a.right, common.bottom});
    return parts;
}

std::vector<Rect> ChangedAreas(const Rect& before, const Rect& after, int border) {
    if (before == after) return {};
    std::vector<Rect> changed = Subtract(before, after);
    for (const Rect& r : Subtract(after, before)) changed.push_back(r);
    for (const Rect& r : {before, after}) {
        if (r.Empty()) continue;
        // The border: the frame between the rectangle grown by it and the rectangle itself.
        for (const Rect& side : Subtract(Inflated(r, border), r)) changed.push_back(side);
    }
    return changed;
}

}  // namespace vimbrel
