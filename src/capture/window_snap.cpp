#include "capture/window_snap.h"

namespace vimbrel {
namespace {

// The deepest window of `windows` under `at`, each seen only inside `visible`.
std::optional<Rect> Deepest(const std::vector<SnapWindow>& windows, Point at, const Rect& visible) {
    for (const SnapWindow& w : windows) {
        const Rect seen = Intersect(Normalised(w.rect), visible);
        if (seen.Empty() || !seen.Contains(at)) continue;
        if (auto child = Deepest(w.children, at, seen)) return child;
        return seen;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Rect> WindowSnap::At(Point at, const Rect& screen) const { return Deepest(topLevel_, at, screen); }

}  // namespace vimbrel
