#include "markup/coverage_mask.h"

#include <algorithm>
#include <cmath>

namespace vimbrel {
namespace {

double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// How much of the pixel span [p, p + 1) lies inside [lo, hi).
double Overlap(int p, double lo, double hi) { return Clamp01(std::min(hi, p + 1.0) - std::max(lo, double(p))); }

int Floor(double v) { return int(std::floor(v)); }
int Ceil(double v) { return int(std::ceil(v)); }

}  // namespace

void CoverageMask::Reset(const Rect& area) {
    area_ = area.Empty() ? Rect{} : area;
    cover_.assign(std::size_t(std::max(0, area_.Width())) * std::size_t(std::max(0, area_.Height())), 0);
    first_.assign(std::size_t(std::max(0, area_.Height())), area_.right);
    last_.assign(std::size_t(std::max(0, area_.Height())), area_.left - 1);
}

void CoverageMask::Touched(int x, int y) {
    const std::size_t row = std::size_t(y - area_.top);
    if (x < first_[row]) first_[row] = x;
    if (x > last_[row]) last_[row] = x;
}

std::uint8_t CoverageMask::At(int x, int y) const {
    if (!area_.Contains(Point{x, y})) return 0;
    return cover_[std::size_t(y - area_.top) * std::size_t(area_.Width()) + std::size_t(x - area_.left)];
}

void CoverageMask::Put(int x, int y, double cover) {
    std::uint8_t& c = cover_[std::size_t(y - area_.top) * std::size_t(area_.Width()) + std::size_t(x - area_.left)];
    const auto v = std::uint8_t(Clamp01(cover) * 255 + 0.5);
    if (v > c) {
        c = v;
        Touched(x, y);
    }
}

void CoverageMask::Segment(Vec a, Vec b, double halfWidth) {
    if (area_.Empty()) return;
    const double reach = halfWidth + 1;
    const int y0 = std::max(area_.top, Floor(std::min(a.y, b.y) - reach));
    const int y1 = std::min(area_.bottom, Ceil(std::max(a.y, b.y) + reach));
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    for (int y = y0; y < y1; ++y) {
        const double cy = y + 0.5;
        // The part of the stroke whose centre line lies within reach of this row.
        double t0 = 0, t1 = 1;
        if (std::abs(dy) > 1e-9) {
            t0 = std::clamp((cy - reach - a.y) / dy, 0.0, 1.0);
            t1 = std::clamp((cy + reach - a.y) / dy, 0.0, 1.0);
            if (t0 > t1) std::swap(t0, t1);
        }
        const double xa = a.x + t0 * dx, xb = a.x + t1 * dx;
        const int x0 = std::max(area_.left, Floor(std::min(xa, xb) - reach));
        const int x1 = std::min(area_.right, Ceil(std::max(xa, xb) + reach));
        for (int x = x0; x < x1; ++x) {
            const double cx = x + 0.5;
            double t = length2 > 0 ? ((cx - a.x) * dx + (cy - a.y) * dy) / length2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = cx - (a.x + t * dx), ey = cy - (a.y + t * dy);
            const double d = std::sqrt(ex * ex + ey * ey);
            if (d < halfWidth + 0.5) Put(x, y, halfWidth + 0.5 - d);
        }
    }
}

void CoverageMask::Box(double left, double top, double right, double bottom) {
    if (area_.Empty() || right <= left || bottom <= top) return;
    const int y0 = std::max(area_.top, Floor(top)), y1 = std::min(area_.bottom, Ceil(bottom));
    const int x0 = std::max(area_.left, Floor(left)), x1 = std::min(area_.right, Ceil(right));
    for (int y = y0; y < y1; ++y) {
        const double oy = Overlap(y, top, bottom);
        for (int x = x0; x < x1; ++x) Put(x, y, oy * Overlap(x, left, right));
    }
}

void CoverageMask::BoxBorder(double left, double top, double right, double bottom, double width) {
    if (right - left <= 2 * width || bottom - top <= 2 * width) {
        Box(left, top, right, bottom);
        return;
    }
    Box(left, top, right, top + width);
    Box(left, bottom - width, right, bottom);
    Box(left, top, left + width, bottom);
    Box(right - width, top, right, bottom);
}

void CoverageMask::Ellipse(double left, double top, double right, double bottom, bool fill, double width) {
    if (area_.Empty() || right <= left || bottom <= top) return;
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = (right - left) / 2, ry = (bottom - top) / 2;
    const double half = fill ? 0 : width / 2;
    const double ox = rx + half + 1, oy = ry + half + 1;  // outer reach
    const double ix = rx - half - 1, iy = ry - half - 1;  // inside this nothing is drawn
    const int y0 = std::max(area_.top, Floor(cy - oy)), y1 = std::min(area_.bottom, Ceil(cy + oy));
    for (int y = y0; y < y1; ++y) {
        const double py = y + 0.5 - cy;
        if (std::abs(py) >= oy) continue;
        const double outerSpan = ox * std::sqrt(1 - py * py / (oy * oy));
        const double innerSpan = (!fill && ix > 0 && iy > 0 && std::abs(py) < iy) ? ix * std::sqrt(1 - py * py / (iy * iy)) : -1;
        const int x0 = std::max(area_.left, Floor(cx - outerSpan)), x1 = std::min(area_.right, Ceil(cx + outerSpan));
        for (int x = x0; x < x1; ++x) {
            const double px = x + 0.5 - cx;
            if (innerSpan > 0 && std::abs(px) < innerSpan) {
                if (!fill) x = std::max(x, Floor(cx + innerSpan) - 1);
                continue;
            }
            const double f = std::sqrt(px * px / (rx * rx) + py * py / (ry * ry));
            double d;  // signed distance to the outline, negative inside
            if (f == 0) {
                d = -std::min(rx, ry);
            } else {
                const double gx = px / (rx * rx * f), gy = py / (ry * ry * f);
                d = (f - 1) / std::max(1e-9, std::sqrt(gx * gx + gy * gy));
            }
            Put(x, y, fill ? 0.5 - d : half + 0.5 - std::abs(d));
        }
    }
}

void CoverageMask::ConvexPolygon(const Vec* corners, int count) {
    if (area_.Empty() || count < 3) return;
    double minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
    double area2 = 0;
    for (int i = 0; i < count; ++i) {
        const Vec& p = corners[i];
        const Vec& q = corners[(i + 1) % count];
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x), minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        area2 += p.x * q.y - q.x * p.y;
    }
    if (std::abs(area2) < 1e-9) return;
    const double sign = area2 > 0 ? 1 : -1;
    const int y0 = std::max(area_.top, Floor(minY) - 1), y1 = std::min(area_.bottom, Ceil(maxY) + 1);
    const int x0 = std::max(area_.left, Floor(minX) - 1), x1 = std::min(area_.right, Ceil(maxX) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            double outside = -1e9;  // the largest distance beyond an edge
            for (int i = 0; i < count; ++i) {
                const Vec& p = corners[i];
                const Vec& q = corners[(i + 1) % count];
                const double ex = q.x - p.x, ey = q.y - p.y, len = std::hypot(ex, ey);
                if (len == 0) continue;
                outside = std::max(outside, -sign * (ex * (py - p.y) - ey * (px - p.x)) / len);
            }
            if (outside < 0.5) Put(x, y, 0.5 - outside);
        }
}

void CoverageMask::Glyphs(const GlyphCoverage& glyphs, Point at) {
    const int w = glyphs.window.Width(), h = glyphs.window.Height();
    if (area_.Empty() || w <= 0 || h <= 0 || glyphs.coverage.size() < std::size_t(w) * std::size_t(h)) return;
    const Rect placed = Intersect(Rect::At(at, Size{w, h}), area_);
    for (int y = placed.top; y < placed.bottom; ++y) {
        const std::uint8_t* row = glyphs.coverage.data() + std::size_t(y - at.y) * std::size_t(w);
        for (int x = placed.left; x < placed.right; ++x) {
            std::uint8_t& c = cover_[std::size_t(y - area_.top) * std::size_t(area_.Width()) + std::size_t(x - area_.left)];
            c = std::max(c, row[x - at.x]);
        }
        if (placed.right > placed.left) {
            Touched(placed.left, y);
            Touched(placed.right - 1, y);
        }
    }
}

void CoverageMask::BlendInto(Bitmap& target, MarkColour colour, double opacity) const {
    const int bytes = target.BitsPerPixel() / 8;
    if (bytes < 3) return;
    const Rect r = Intersect(area_, Rect::At(0, 0, target.Width(), target.Height()));
    const int alpha = int(std::lround(Clamp01(opacity) * 256));
    const int b = colour.blue, g = colour.green, red = colour.red;
    // v / 255 rounded, exact for every v a blend makes (0 to 65025).
    auto by255 = [](int v) { return std::uint8_t((v + 128 + ((v + 128) >> 8)) >> 8); };
    for (int y = r.top; y < r.bottom; ++y) {
        const std::size_t row = std::size_t(y - area_.top);
        const int x0 = std::max(r.left, first_[row]), x1 = std::min(r.right, last_[row] + 1);
        const std::uint8_t* c = cover_.data() + row * std::size_t(area_.Width()) + std::size_t(x0 - area_.left);
        std::uint8_t* px = target.Row(y) + std::size_t(std::max(0, x0)) * std::size_t(bytes);
        for (int x = x0; x < x1; ++x, ++c, px += bytes) {
            if (*c == 0) continue;
            const int a = (*c * alpha) >> 8;  // 0..255
            const int keep = 255 - a;
            px[0] = by255(px[0] * keep + b * a);
            px[1] = by255(px[1] * keep + g * a);
            px[2] = by255(px[2] * keep + red * a);
        }
    }
}

void FillPixels(Bitmap& target, const Rect& area, MarkColour colour) {
    const int bytes = target.BitsPerPixel() / 8;
    if (bytes < 3) return;
    const Rect r = Intersect(Normalised(area), Rect::At(0, 0, target.Width(), target.Height()));
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* px = target.Row(y) + std::size_t(r.left) * std::size_t(bytes);
        for (int x = r.left; x < r.right; ++x, px += bytes) {
            px[0] = colour.blue;
            px[1] = colour.green;
            px[2] = colour.red;
        }
    }
}

}  // namespace vimbrel
