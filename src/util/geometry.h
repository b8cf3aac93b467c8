#pragma once
// Points, sizes and rectangles in pixels: x to the right, y downward, origin top-left.
// Sums and differences of pixel coordinates are worked in 64 bits and a result that is no
// int throws EPixelOverflow: a wrapped coordinate would put pixels somewhere else silently.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace vimbrel {

class EPixelOverflow : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

namespace geometry_detail {
[[noreturn]] void ThrowPixelOverflow();
constexpr int Checked(std::int64_t value) {
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) ThrowPixelOverflow();
    return int(value);
}
}  // namespace geometry_detail

constexpr int AddPixels(int a, int b) { return geometry_detail::Checked(std::int64_t(a) + b); }
constexpr int SubtractPixels(int a, int b) { return geometry_detail::Checked(std::int64_t(a) - b); }

// Where a length starts when centred in room; the halving truncates toward zero, so an
// odd leftover puts it one pixel nearer the start (and a length larger than the room
// starts before it).
constexpr int CentreOffset(int room, int length) { return SubtractPixels(room, length) / 2; }

// Pixel arithmetic done in floating point rounds to the nearest integer, halves to even
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Throws EPixelOverflow when that is no int.
int RoundHalfEven(double value);

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// p seen from origin: p - origin.
constexpr Point RelativeTo(Point p, Point origin) {
    return Point{SubtractPixels(p.x, origin.x), SubtractPixels(p.y, origin.y)};
}

struct Size {
    int width = 0, height = 0;
    constexpr bool Empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const Size&, const Size&) = default;
};

// Each side times factor, rounded as RoundHalfEven does.
Size Scaled(Size size, double factor);

// Left, top, right, bottom as Windows keeps a RECT: right and bottom are just outside.
// Nothing forces left <= right; Width() and Height() are then negative.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    static constexpr Rect At(Point corner, Size size) {
        return Rect{corner.x, corner.y, AddPixels(corner.x, size.width), AddPixels(corner.y, size.height)};
    }
    static constexpr Rect At(int left, int top, int width, int height) {
        return At(Point{left, top}, Size{width, height});
    }

    constexpr int Width() const { return SubtractPixels(right, left); }
    constexpr int Height() const { return SubtractPixels(bottom, top); }
    constexpr Point TopLeft() const { return Point{left, top}; }
    constexpr Size Extent() const { return Size{Width(), Height()}; }
    // No pixel inside: right <= left or bottom <= top.
    constexpr bool Empty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The same area with left <= right and top <= bottom.
constexpr Rect Normalised(const Rect& r) {
    return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

constexpr Rect Offset(const Rect& r, int dx, int dy) {
    return Rect{AddPixels(r.left, dx), AddPixels(r.top, dy), AddPixels(r.right, dx), AddPixels(r.bottom, dy)};
}

// r grown by `by` pixels on every side (shrunk for a negative `by`).
constexpr Rect Inflated(const Rect& r, int by) {
    return Rect{SubtractPixels(r.left, by), SubtractPixels(r.top, by), AddPixels(r.right, by), AddPixels(r.bottom, by)};
}

// r in the coordinates of a space whose top-left lies at origin.
constexpr Rect RelativeTo(const Rect& r, Point origin) {
    return Rect{SubtractPixels(r.left, origin.x), SubtractPixels(r.top, origin.y), SubtractPixels(r.right, origin.x),
                SubtractPixels(r.bottom, origin.y)};
}

// The part of a inside b, for normalised rectangles; Empty() when they do not overlap.
constexpr Rect Intersect(const Rect& a, const Rect& b) {
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

}  // namespace vimbrel
