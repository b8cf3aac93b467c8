#pragma once
// Screen and picture coordinates: x to the right, y downward, origin top-left.
#include <algorithm>

namespace vimbrel {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Left, top, right, bottom as Windows keeps a RECT; nothing here forces left <= right.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The same area with left <= right and top <= bottom.
inline Rect Normalised(const Rect& r) {
    return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

}  // namespace vimbrel
