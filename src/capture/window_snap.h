#pragma once
// The windows a click on the area overlay can take: top-level windows in their order on the
// screen, the top one first, each with its child controls in the same order. A point takes
// the deepest control under it, seen through its parents, clipped to the screen.
#include <optional>
#include <vector>

#include "util/geometry.h"

namespace vimbrel {

struct SnapWindow {
    Rect rect;  // in the overlay's coordinates
    std::vector<SnapWindow> children;
};

class WindowSnap {
public:
    WindowSnap() = default;
    explicit WindowSnap(std::vector<SnapWindow> topLevel) : topLevel_(std::move(topLevel)) {}

    // The rectangle a click at `at` takes, clipped to `screen`; none where no window is.
    std::optional<Rect> At(Point at, const Rect& screen) const;

private:
    std::vector<SnapWindow> topLevel_;
};

}  // namespace vimbrel
