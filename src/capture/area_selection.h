#pragma once
// What the user does on the area overlay, apart from the window that shows it: the pointer,
// the window under it, the rectangle dragged in any direction, the keys, and how the
// overlay ends. The window feeds mouse and key events in and paints what this holds.
#include <optional>
#include <vector>

#include "capture/window_snap.h"
#include "util/geometry.h"
#include "workspace/bitmap.h"

namespace vimbrel {

enum class MouseButton { Left, Right, Middle };
enum class SelectionKey { Left, Right, Up, Down, Enter, Escape };

// How the overlay ends.
enum class SelectionEnd {
    Open,    // still up
    Take,    // with Selection() (empty for a click on no window)
    Cancel,  // Escape or a right click with no drag: nothing happens
};

class AreaSelection {
public:
    // screen: the virtual screen in the overlay's coordinates, where every rectangle taken
    // is clipped; windows: what a click without a drag can take (see WindowSnap);
    // dragThreshold: how far the pointer goes before a press becomes a drag.
    explicit AreaSelection(Rect screen = {}, WindowSnap windows = {}, int dragThreshold = 4);

    void MouseDown(MouseButton button, Point at);
    void MouseMove(Point at);
    void MouseUp(MouseButton button, Point at);
    // The arrow keys move the pointer by one pixel (ten with shift) inside the screen;
    // Enter takes what is selected or outlined, Escape cancels.
    void Key(SelectionKey key, bool shift);

    Point Pointer() const { return pointer_; }
    bool Dragging() const { return dragging_; }
    // While dragging, the rectangle from the press to the pointer, normalised and clipped;
    // once taken, what was taken.
    const Rect& Selection() const { return selection_; }
    // The window that a click would take, while no drag runs.
    std::optional<Rect> Outlined() const;
    SelectionEnd End() const { return end_; }

private:
    void Track(Point at);
    void Take(const Rect& area);
    void Cancel();

    Rect screen_;
    WindowSnap windows_;
    int dragThreshold_;
    Point pointer_, anchor_;
    bool pressed_ = false, dragging_ = false;
    Rect selection_;
    SelectionEnd end_ = SelectionEnd::Open;
};

// A selection no capture can take: no pixel inside.
bool SelectionEmpty(const Rect& selection);

// The pixels of area (left, top inclusive) taken from source at its depth and colour table;
// parts of area outside source stay black. An empty or reversed area gives an empty picture.
Bitmap CopyArea(const Bitmap& source, const Rect& area);

// What the area overlay hands back when it closes.
struct AreaChoice {
    bool ok = false;     // taken (false: cancelled, or closed by the window system)
    Rect selection;      // in screen coordinates, normalised; empty for a click on no window
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
