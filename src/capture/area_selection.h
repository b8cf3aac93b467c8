#pragma once
// The rubber band of the area overlay, apart from the window that shows it: which frames to
// invert on the screen and when the overlay closes.
#include <vector>

#include "workspace/bitmap.h"
#include "util/geometry.h"

namespace vimbrel {

enum class MouseButton { Left, Right, Middle };

// What the window has to do after one mouse event.
struct SelectionStep {
    // Focus frames to draw, in order; each drawing inverts, so drawing one twice erases it.
    std::vector<Rect> invert;
    // Close with the OK result.
    bool close = false;
    friend bool operator==(const SelectionStep&, const SelectionStep&) = default;
};

class AreaSelection {
public:
    SelectionStep MouseDown(MouseButton button, Point at);
    SelectionStep MouseMove(Point at);
    SelectionStep MouseUp(MouseButton button, Point at);

    // Left and top where the left button went down, right and bottom where the mouse was
    // last: not normalised. All zero until the first left-button press.
    const Rect& SelectionRect() const { return selection_; }
    bool Dragging() const { return dragging_; }

private:
    Rect selection_;
    bool dragging_ = false;
};

// The frame drawn for a selection: the same area with its corners in order, so a band
// dragged up or left shows as well.
Rect FocusFrame(const Rect& selection);

// The capture rejects a selection with right <= left or bottom <= top.
bool SelectionEmpty(const Rect& selection);

// The pixels of area (left, top inclusive) taken from source at its depth and colour table;
// parts of area outside source stay black. An empty or reversed area gives an empty picture.
Bitmap CopyArea(const Bitmap& source, const Rect& area);

// What the area overlay hands back when it closes.
struct AreaChoice {
    bool ok = false;     // closed by a mouse button release
    Rect selection;      // SelectionRect in screen coordinates, not normalised
    Bitmap screenImage;  // the frozen copy of the desktop
    Point origin;        // where the copy's top-left pixel lies on the screen
};

// Opens the overlay over a fresh copy of the desktop and waits until it closes.
class AreaOverlay {
public:
    virtual ~AreaOverlay() = default;
    virtual AreaChoice Run() = 0;
};

}  // namespace vimbrel
