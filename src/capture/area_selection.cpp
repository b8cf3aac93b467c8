#include "capture/area_selection.h"

#include <cstring>

namespace vimbrel {

Rect FocusFrame(const Rect& selection) { return Normalised(selection); }

bool SelectionEmpty(const Rect& selection) { return selection.Empty(); }

SelectionStep AreaSelection::MouseDown(MouseButton button, Point at) {
    SelectionStep step;
    if (button != MouseButton::Left) return step;
    // A press while a band is up (a second left button arriving without a release) must
    // not leave the old frame on the screen.
    if (dragging_) step.invert.push_back(FocusFrame(selection_));
    dragging_ = true;
    selection_ = Rect{at.x, at.y, at.x, at.y};
    step.invert.push_back(FocusFrame(selection_));
    return step;
}

SelectionStep AreaSelection::MouseMove(Point at) {
    SelectionStep step;
    if (!dragging_) return step;
    step.invert.push_back(FocusFrame(selection_));
    selection_.right = at.x;
    selection_.bottom = at.y;
    step.invert.push_back(FocusFrame(selection_));
    return step;
}

SelectionStep AreaSelection::MouseUp(MouseButton, Point) {
    SelectionStep step;
    if (dragging_) {
        step.invert.push_back(FocusFrame(selection_));
        dragging_ = false;
    }
    step.close = true;
    return step;
}

Bitmap CopyArea(const Bitmap& source, const Rect& area) {
    if (SelectionEmpty(area)) return Bitmap(0, 0, source.BitsPerPixel());
    Bitmap copy(area.Width(), area.Height(), source.BitsPerPixel());
    copy.Palette() = source.Palette();
    const Rect inside = Intersect(area, Rect{0, 0, source.Width(), source.Height()});
    if (inside.Empty()) return copy;
    const std::size_t pixel = std::size_t(source.BitsPerPixel() / 8);
    for (int y = inside.top; y < inside.bottom; ++y)
        std::memcpy(copy.Row(y - area.top) + std::size_t(inside.left - area.left) * pixel,
                    source.Row(y) + std::size_t(inside.left) * pixel, std::size_t(inside.Width()) * pixel);
    return copy;
}

}  // namespace vimbrel
