#include "markup/mark_geometry.h"

#include <algorithm>
#include <cmath>

namespace vimbrel {
namespace {

double DistanceToSegment(Vec p, Vec a, Vec b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

Vec V(Point p) { return Vec{double(p.x), double(p.y)}; }

Rect BoxOf(const Mark& m) {
    if (m.points.size() < 2) return Rect{};
    return Normalised(Rect{m.points[0].x, m.points[0].y, m.points[1].x, m.points[1].y});
}

Rect PointsBounds(const std::vector<Point>& points) {
    if (points.empty()) return Rect{};
    Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (Point p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

bool NearPath(const std::vector<Point>& points, Vec p, double reach) {
    if (points.size() == 1) return std::hypot(p.x - points[0].x, p.y - points[0].y) <= reach;
    for (std::size_t i = 1; i < points.size(); ++i)
        if (DistanceToSegment(p, V(points[i - 1]), V(points[i])) <= reach) return true;
    return false;
}

// Distance from p to an ellipse's outline, nearly exact close to it.
double DistanceToEllipse(Vec p, const Rect& box) {
    const double rx = std::max(0.5, box.Width() / 2.0), ry = std::max(0.5, box.Height() / 2.0);
    const double x = p.x - (box.left + box.right) / 2.0, y = p.y - (box.top + box.bottom) / 2.0;
    const double f = std::sqrt(x * x / (rx * rx) + y * y / (ry * ry));
    if (f == 0) return std::min(rx, ry);
    const double gx = x / (rx * rx * f), gy = y / (ry * ry * f);
    return std::abs(f - 1) / std::max(1e-9, std::hypot(gx, gy));
}

}  // namespace

ArrowHead ArrowHeadOf(Point from, Point to, int width) {
    const double length = std::max(12.0, width * 4.0);
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double d = std::hypot(dx, dy);
    const double ux = d > 0 ? dx / d : 1, uy = d > 0 ? dy / d : 0;
    const double back = std::min(length, std::max(d, 1.0));
    const Vec tip = V(to);
    const Vec base{tip.x - ux * back, tip.y - uy * back};
    const double half = back * 0.5;
    return ArrowHead{{tip, Vec{base.x - uy * half, base.y + ux * half}, Vec{base.x + uy * half, base.y - ux * half}},
                     base};
}

int StepRadius(const MarkStyle& style) { return std::max(9, int(std::lround(style.fontSize * 0.7))); }

Size TextBoxSize(const Mark& text, const TextShaper& shaper) {
    Size size = shaper.Measure(text.text, text.style.fontSize);
    size.height = std::max(size.height, text.style.fontSize);
    size.width = std::max(size.width, std::max(2, text.style.fontSize / 8));
    return size;
}

Rect MarkBounds(const Mark& m, const TextShaper& shaper) {
    if (m.points.empty()) return Rect{};
    const int reach = m.style.width / 2 + 2;
    switch (m.kind) {
    case MarkTool::Rectangle:
    case MarkTool::Ellipse: return Inflated(BoxOf(m), reach);
    case MarkTool::Redact: return BoxOf(m);
    case MarkTool::Line: return Inflated(PointsBounds(m.points), reach);
    case MarkTool::Arrow: {
        Rect r = Inflated(PointsBounds(m.points), reach);
        if (m.points.size() >= 2)
            for (Vec c : ArrowHeadOf(m.points[0], m.points[1], m.style.width).corners) {
                r.left = std::min(r.left, int(std::floor(c.x)) - 2);
                r.top = std::min(r.top, int(std::floor(c.y)) - 2);
                r.right = std::max(r.right, int(std::ceil(c.x)) + 2);
                r.bottom = std::max(r.bottom, int(std::ceil(c.y)) + 2);
            }
        return r;
    }
    case MarkTool::Pen: return Inflated(PointsBounds(m.points), reach);
    case MarkTool::Highlighter: return Inflated(PointsBounds(m.points), reach * 4);
    case MarkTool::Text: return Rect::At(m.points[0], TextBoxSize(m, shaper));
    case MarkTool::Step: {
        const int r = StepRadius(m.style) + 2;
        return Rect{m.points[0].x - r, m.points[0].y - r, m.points[0].x + r + 1, m.points[0].y + r + 1};
    }
    case MarkTool::Select: break;
    }
    return Rect{};
}

bool Touches(const Mark& m, Point at, int tolerance, const TextShaper& shaper) {
    if (m.points.empty()) return false;
    const Vec p = V(at);
    const double reach = m.style.width / 2.0 + tolerance;
    switch (m.kind) {
    case MarkTool::Rectangle: {
        const Rect box = BoxOf(m);
        if (m.style.fill) return Inflated(box, tolerance).Contains(at);
        const Vec a{double(box.left), double(box.top)}, b{double(box.right), double(box.top)},
            c{double(box.right), double(box.bottom)}, d{double(box.left), double(box.bottom)};
        return DistanceToSegment(p, a, b) <= reach || DistanceToSegment(p, b, c) <= reach ||
               DistanceToSegment(p, c, d) <= reach || DistanceToSegment(p, d, a) <= reach;
    }
    case MarkTool::Ellipse: {
        const Rect box = BoxOf(m);
        if (m.style.fill) {
            const double rx = box.Width() / 2.0 + tolerance, ry = box.Height() / 2.0 + tolerance;
            const double x = p.x - (box.left + box.right) / 2.0, y = p.y - (box.top + box.bottom) / 2.0;
            return rx > 0 && ry > 0 && x * x / (rx * rx) + y * y / (ry * ry) <= 1;
        }
        return DistanceToEllipse(p, box) <= reach;
    }
    case MarkTool::Redact: return Inflated(BoxOf(m), tolerance).Contains(at);
    case MarkTool::Arrow:
        if (m.points.size() >= 2) {
            const ArrowHead head = ArrowHeadOf(m.points[0], m.points[1], m.style.width);
            if (std::hypot(p.x - head.corners[0].x, p.y - head.corners[0].y) <=
                std::hypot(head.corners[0].x - head.base.x, head.corners[0].y - head.base.y) + tolerance)
                return true;
        }
        return NearPath(m.points, p, reach);
    case MarkTool::Line:
    case MarkTool::Pen: return NearPath(m.points, p, reach);
    case MarkTool::Highlighter: return NearPath(m.points, p, reach * 2);
    case MarkTool::Text: return Inflated(MarkBounds(m, shaper), tolerance).Contains(at);
    case MarkTool::Step:
        return std::hypot(p.x - m.points[0].x, p.y - m.points[0].y) <= StepRadius(m.style) + tolerance;
    case MarkTool::Select: break;
    }
    return false;
}

std::vector<Point> HandlesOf(const Mark& m) {
    if (IsLineKind(m.kind) && m.points.size() >= 2) return {m.points[0], m.points[1]};
    if (!IsBoxKind(m.kind) || m.points.size() < 2) return {};
    const Rect r = BoxOf(m);
    const int cx = r.left + r.Width() / 2, cy = r.top + r.Height() / 2;
    return {{r.left, r.top},     {cx, r.top},        {r.right, r.top}, {r.right, cy},
            {r.right, r.bottom}, {cx, r.bottom},     {r.left, r.bottom}, {r.left, cy}};
}

int HandleAt(const Mark& m, Point at, int tolerance) {
    const std::vector<Point> handles = HandlesOf(m);
    for (std::size_t i = 0; i < handles.size(); ++i)
        if (std::abs(handles[i].x - at.x) <= tolerance && std::abs(handles[i].y - at.y) <= tolerance) return int(i);
    return -1;
}

Mark Moved(const Mark& m, int dx, int dy) {
    Mark moved = m;
    for (Point& p : moved.points) p = Point{AddPixels(p.x, dx), AddPixels(p.y, dy)};
    return moved;
}

Mark Resized(const Mark& m, int handle, Point to) {
    Mark r = m;
    if (IsLineKind(m.kind) && m.points.size() >= 2 && (handle == 0 || handle == 1)) {
        r.points[std::size_t(handle)] = to;
        return r;
    }
    if (!IsBoxKind(m.kind) || m.points.size() < 2 || handle < 0 || handle > 7) return r;
    Rect box = BoxOf(m);
    const bool left = handle == 0 || handle == 6 || handle == 7, right = handle >= 2 && handle <= 4;
    const bool top = handle <= 2, bottom = handle >= 4 && handle <= 6;
    if (left) box.left = to.x;
    if (right) box.right = to.x;
    if (top) box.top = to.y;
    if (bottom) box.bottom = to.y;
    box = Normalised(box);
    r.points = {box.TopLeft(), Point{box.right, box.bottom}};
    return r;
}

bool WorthKeeping(const Mark& m) {
    if (m.points.empty()) return false;
    if (IsBoxKind(m.kind)) {
        const Rect box = BoxOf(m);
        return box.Width() >= 2 && box.Height() >= 2;
    }
    if (IsLineKind(m.kind))
        return m.points.size() >= 2 && std::hypot(m.points[1].x - m.points[0].x, m.points[1].y - m.points[0].y) >= 3;
    if (IsStrokeKind(m.kind)) return m.points.size() >= 2;
    return true;
}

}  // namespace vimbrel
