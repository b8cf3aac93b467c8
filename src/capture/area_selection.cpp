#include "capture/area_selection.h"

namespace vimbrel {

Rect FocusFrame(const Rect& selection) { return Normalised(selection); }

bool SelectionEmpty(const Rect& selection) {
    return selection.left >= selection.right || selection.top >= selection.bottom;
}

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

}  // namespace vimbrel
