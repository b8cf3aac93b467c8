#include "capture/area_selection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vimbrel {

AreaSelection::AreaSelection(Rect screen, WindowSnap windows, int dragThreshold)
    : screen_(screen), windows_(std::move(windows)), dragThreshold_(dragThreshold) {}

std::optional<Rect> AreaSelection::Outlined() const {
    if (dragging_ || end_ != SelectionEnd::Open) return std::nullopt;
    return windows_.At(pressed_ ? anchor_ : pointer_, screen_);
}

void AreaSelection::Track(Point at) {
    pointer_ = at;
    if (!pressed_) return;
    if (!dragging_ && (std::abs(at.x - anchor_.x) >= dragThreshold_ || std::abs(at.y - anchor_.y) >= dragThreshold_))
        dragging_ = true;
    if (dragging_) selection_ = Intersect(Normalised(Rect{anchor_.x, anchor_.y, at.x, at.y}), screen_);
}

void AreaSelection::Take(const Rect& area) {
    selection_ = area;
    pressed_ = dragging_ = false;
    end_ = SelectionEnd::Take;
}

void AreaSelection::Cancel() {
    pressed_ = dragging_ = false;
    end_ = SelectionEnd::Cancel;
}

void AreaSelection::MouseDown(MouseButton button, Point at) {
    if (end_ != SelectionEnd::Open || button != MouseButton::Left) return;
    pointer_ = anchor_ = at;
    pressed_ = true;
    dragging_ = false;
    selection_ = Rect{};
}

void AreaSelection::MouseMove(Point at) {
    if (end_ == SelectionEnd::Open) Track(at);
}

void AreaSelection::MouseUp(MouseButton button, Point at) {
    if (end_ != SelectionEnd::Open) return;
    Track(at);
    // Any button ends a drag with the rectangle dragged so far.
    if (dragging_) return Take(selection_);
    switch (button) {
    case MouseButton::Left:
        // A click: the window under it, or nothing at all.
        if (pressed_) Take(windows_.At(anchor_, screen_).value_or(Rect{}));
        return;
    case MouseButton::Right:
        return Cancel();
    case MouseButton::Middle:
        Take(Rect{});
        return;
    }
}

void AreaSelection::Key(SelectionKey key, bool shift) {
    if (end_ != SelectionEnd::Open) return;
    const int step = shift ? 10 : 1;
    Point to = pointer_;
    switch (key) {
    case SelectionKey::Escape: return Cancel();
    case SelectionKey::Enter:
        if (dragging_) return Take(selection_);
        return Take(Outlined().value_or(Rect{}));
    case SelectionKey::Left: to.x -= step; break;
    case SelectionKey::Right: to.x += step; break;
    case SelectionKey::Up: to.y -= step; break;
    case SelectionKey::Down: to.y += step; break;
    }
    // The pointer stays on a pixel of the screen.
    if (!screen_.Empty()) {
        to.x = std::clamp(to.x, screen_.left, screen_.right - 1);
        to.y = std::clamp(to.y, screen_.top, screen_.bottom - 1);
    }
    Track(to);
}

bool SelectionEmpty(const Rect& selection) { return selection.Empty(); }

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
