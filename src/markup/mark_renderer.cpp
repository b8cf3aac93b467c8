#include "markup/mark_renderer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "markup/mark_geometry.h"

namespace vimbrel {
namespace {

constexpr double kHighlightOpacity = 0.4;
constexpr int kHighlightWidthFactor = 4;

Vec ToTarget(const MarkView& view, Point p) {
    return Vec{p.x * view.scale - view.origin.x, p.y * view.scale - view.origin.y};
}
int ToTargetPixel(double v) { return int(std::lround(v)); }

Rect TargetBounds(const MarkView& view, const Rect& r) {
    const Vec a = ToTarget(view, r.TopLeft()), b = ToTarget(view, Point{r.right, r.bottom});
    return Rect{int(std::floor(a.x)) - 1, int(std::floor(a.y)) - 1, int(std::ceil(b.x)) + 1, int(std::ceil(b.y)) + 1};
}

MarkColour Contrasting(MarkColour c) {
    const int luma = (c.red * 299 + c.green * 587 + c.blue * 114) / 1000;
    return luma > 150 ? MarkColour{0, 0, 0} : MarkColour{255, 255, 255};
}

Bitmap TrueColourCopy(const Bitmap& base) {
    if (!Bitmap::SizeAllowed(base.Width(), base.Height(), 24))
        throw EImageTooLarge("The picture is too large to draw its markup into a copy");
    if (base.BitsPerPixel() == 24) return base;
    Bitmap copy = Bitmap::Unfilled(base.Width(), base.Height(), 24);
    for (int y = 0; y < base.Height(); ++y)
        for (int x = 0; x < base.Width(); ++x) copy.SetPixelColour(x, y, base.PixelColour(x, y));
    return copy;
}

}  // namespace

int RedactionBlock(const Rect& box) {
    const int longer = std::max(box.Width(), box.Height());
    return std::max(10, (longer + 19) / 20);
}

const MarkRenderer::Blocks& MarkRenderer::BlocksOf(const Rect& box, const Bitmap& picture) {
    auto key = std::make_tuple(box.left, box.top, box.right, box.bottom);
    auto found = blocks_.find(key);
    if (found != blocks_.end()) return found->second;
    Blocks b;
    b.side = RedactionBlock(box);
    b.columns = (box.Width() + b.side - 1) / b.side;
    b.rows = (box.Height() + b.side - 1) / b.side;
    b.colours.resize(std::size_t(b.columns) * std::size_t(b.rows));
    const Rect inPicture = Rect::At(0, 0, picture.Width(), picture.Height());
    for (int row = 0; row < b.rows; ++row)
        for (int column = 0; column < b.columns; ++column) {
            const Rect cell = Intersect(Intersect(Rect::At(box.left + column * b.side, box.top + row * b.side, b.side, b.side), box), inPicture);
            std::uint64_t sum[3] = {0, 0, 0}, n = 0;
            const int bytes = picture.BitsPerPixel() / 8;
            for (int y = cell.top; y < cell.bottom; ++y) {
                if (bytes >= 3) {
                    const std::uint8_t* p = picture.Row(y) + std::size_t(cell.left) * std::size_t(bytes);
                    for (int x = cell.left; x < cell.right; ++x, p += bytes) sum[2] += p[0], sum[1] += p[1], sum[0] += p[2];
                } else {
                    for (int x = cell.left; x < cell.right; ++x) {
                        const RgbQuad c = picture.PixelColour(x, y);
                        sum[0] += c.red, sum[1] += c.green, sum[2] += c.blue;
                    }
                }
                n += std::uint64_t(std::max(0, cell.Width()));
            }
            MarkColour& out = b.colours[std::size_t(row) * std::size_t(b.columns) + std::size_t(column)];
            if (n) out = MarkColour{std::uint8_t((sum[0] + n / 2) / n), std::uint8_t((sum[1] + n / 2) / n),
                                    std::uint8_t((sum[2] + n / 2) / n)};
        }
    return blocks_.emplace(key, std::move(b)).first->second;
}

void MarkRenderer::DrawRedaction(Bitmap& target, const MarkView& view, const Rect& clip, const Mark& mark,
                                 const Bitmap& picture) {
    const Rect box = Normalised(Rect{mark.points[0].x, mark.points[0].y, mark.points[1].x, mark.points[1].y});
    auto edge = [&](int picturePixel, int originPixel) { return ToTargetPixel(picturePixel * view.scale) - originPixel; };
    if (mark.style.fill) {
        FillPixels(target,
                   Intersect(Rect{edge(box.left, view.origin.x), edge(box.top, view.origin.y), edge(box.right, view.origin.x),
                                  edge(box.bottom, view.origin.y)},
                             clip),
                   mark.style.colour);
        return;
    }
    const Blocks& b = BlocksOf(box, picture);
    for (int row = 0; row < b.rows; ++row) {
        const int top = box.top + row * b.side, bottom = std::min(box.bottom, top + b.side);
        const int ty0 = edge(top, view.origin.y), ty1 = edge(bottom, view.origin.y);
        if (ty1 <= clip.top || ty0 >= clip.bottom) continue;
        for (int column = 0; column < b.columns; ++column) {
            const int left = box.left + column * b.side, right = std::min(box.right, left + b.side);
            const Rect cell{edge(left, view.origin.x), ty0, edge(right, view.origin.x), ty1};
            FillPixels(target, Intersect(cell, clip), b.colours[std::size_t(row) * std::size_t(b.columns) + std::size_t(column)]);
        }
    }
}

void MarkRenderer::DrawText(Bitmap& target, const MarkView& view, const Rect& clip, const std::string& text, Point at,
                            int height, MarkColour colour) {
    const Vec origin = ToTarget(view, at);
    const Point topLeft{ToTargetPixel(origin.x), ToTargetPixel(origin.y)};
    const int pixels = std::max(1, ToTargetPixel(height * view.scale));
    const Size size = shaper_.Measure(text, pixels);
    const Rect shown = Intersect(Rect::At(topLeft, size), clip);
    if (shown.Empty()) return;
    const GlyphCoverage glyphs = shaper_.Draw(text, pixels, RelativeTo(shown, topLeft));
    mask_.Reset(shown);
    mask_.Glyphs(glyphs, shown.TopLeft());
    mask_.BlendInto(target, colour, 1.0);
}

void MarkRenderer::DrawMark(Bitmap& target, const MarkView& view, const Rect& clip, const Mark& mark, int stepNumber,
                            const Bitmap& picture) {
    if (mark.points.empty()) return;
    const Rect area = Intersect(TargetBounds(view, MarkBounds(mark, shaper_)), clip);
    if (area.Empty()) return;
    const double width = std::max(1.0, mark.style.width * view.scale);
    double opacity = 1.0;
    mask_.Reset(area);
    switch (mark.kind) {
    case MarkTool::Rectangle:
    case MarkTool::Ellipse: {
        if (mark.points.size() < 2) return;
        const Vec a = ToTarget(view, mark.points[0]), b = ToTarget(view, mark.points[1]);
        const double l = std::min(a.x, b.x), t = std::min(a.y, b.y), r = std::max(a.x, b.x), bt = std::max(a.y, b.y);
        if (mark.kind == MarkTool::Rectangle)
            mark.style.fill ? mask_.Box(l, t, r, bt) : mask_.BoxBorder(l, t, r, bt, width);
        else
            mask_.Ellipse(l, t, r, bt, mark.style.fill, width);
        break;
    }
    case MarkTool::Redact:
        if (mark.points.size() >= 2) DrawRedaction(target, view, clip, mark, picture);
        return;
    case MarkTool::Arrow:
    case MarkTool::Line: {
        if (mark.points.size() < 2) return;
        Vec from = ToTarget(view, mark.points[0]), to = ToTarget(view, mark.points[1]);
        if (mark.kind == MarkTool::Arrow) {
            const ArrowHead head = ArrowHeadOf(mark.points[0], mark.points[1], mark.style.width);
            Vec corners[3];
            for (int i = 0; i < 3; ++i)
                corners[i] = Vec{head.corners[i].x * view.scale - view.origin.x, head.corners[i].y * view.scale - view.origin.y};
            mask_.ConvexPolygon(corners, 3);
            to = Vec{head.base.x * view.scale - view.origin.x, head.base.y * view.scale - view.origin.y};
        }
        mask_.Segment(from, to, width / 2);
        break;
    }
    case MarkTool::Highlighter:
        opacity = kHighlightOpacity;
        [[fallthrough]];
    case MarkTool::Pen: {
        const double half = (mark.kind == MarkTool::Highlighter ? width * kHighlightWidthFactor : width) / 2;
        if (mark.points.size() == 1) mask_.Segment(ToTarget(view, mark.points[0]), ToTarget(view, mark.points[0]), half);
        for (std::size_t i = 1; i < mark.points.size(); ++i)
            mask_.Segment(ToTarget(view, mark.points[i - 1]), ToTarget(view, mark.points[i]), half);
        break;
    }
    case MarkTool::Text:
        DrawText(target, view, clip, mark.text, mark.points[0], mark.style.fontSize, mark.style.colour);
        return;
    case MarkTool::Step: {
        const Vec c = ToTarget(view, mark.points[0]);
        const double r = StepRadius(mark.style) * view.scale;
        mask_.Ellipse(c.x - r, c.y - r, c.x + r, c.y + r, true, 0);
        mask_.BlendInto(target, mark.style.colour, 1.0);
        const std::string number = std::to_string(std::max(1, stepNumber));
        const int height = std::max(6, int(std::lround(StepRadius(mark.style) * 1.3)));
        const Size size = shaper_.Measure(number, height);
        const Point at{mark.points[0].x - size.width / 2, mark.points[0].y - size.height / 2};
        DrawText(target, view, clip, number, at, height, Contrasting(mark.style.colour));
        return;
    }
    case MarkTool::Select: return;
    }
    mask_.BlendInto(target, mark.style.colour, opacity);
}

void MarkRenderer::Draw(Bitmap& target, const MarkView& view, const Rect& clip, const std::vector<Mark>& marks,
                        const Bitmap& picture) {
    const Rect cut = Intersect(clip, Rect::At(0, 0, target.Width(), target.Height()));
    int steps = 0;
    for (const Mark& m : marks) {
        if (m.kind == MarkTool::Step) ++steps;
        DrawMark(target, view, cut, m, steps, picture);
    }
}

void MarkRenderer::DrawSelection(Bitmap& target, const MarkView& view, const Rect& clip, const Mark& mark,
                                 int handleSize, bool caret) {
    const Rect cut = Intersect(clip, Rect::At(0, 0, target.Width(), target.Height()));
    const MarkColour dark{40, 40, 40}, light{255, 255, 255};
    std::vector<Point> handles = HandlesOf(mark);
    if (handles.empty()) {
        // A mark that only moves is framed instead.
        const Rect frame = TargetBounds(view, MarkBounds(mark, shaper_));
        FillPixels(target, Intersect(Rect{frame.left, frame.top, frame.right, frame.top + 1}, cut), dark);
        FillPixels(target, Intersect(Rect{frame.left, frame.bottom - 1, frame.right, frame.bottom}, cut), dark);
        FillPixels(target, Intersect(Rect{frame.left, frame.top, frame.left + 1, frame.bottom}, cut), dark);
        FillPixels(target, Intersect(Rect{frame.right - 1, frame.top, frame.right, frame.bottom}, cut), dark);
    }
    const int half = handleSize / 2;
    for (Point h : handles) {
        const Vec c = ToTarget(view, h);
        const Rect outer = Rect::At(ToTargetPixel(c.x) - half, ToTargetPixel(c.y) - half, handleSize, handleSize);
        FillPixels(target, Intersect(outer, cut), dark);
        FillPixels(target, Intersect(Inflated(outer, -1), cut), light);
    }
    if (caret && mark.kind == MarkTool::Text && !mark.points.empty()) {
        const auto lastBreak = mark.text.rfind('\n');
        const std::string lastLine = lastBreak == std::string::npos ? mark.text : mark.text.substr(lastBreak + 1);
        const Size box = TextBoxSize(mark, shaper_);
        const int x = mark.points[0].x + shaper_.Measure(lastLine, mark.style.fontSize).width;
        const int bottom = mark.points[0].y + box.height;
        const Vec top = ToTarget(view, Point{x, bottom - mark.style.fontSize});
        const Vec end = ToTarget(view, Point{x, bottom});
        const int w = std::max(1, ToTargetPixel(view.scale));
        FillPixels(target, Intersect(Rect{ToTargetPixel(top.x), ToTargetPixel(top.y), ToTargetPixel(top.x) + w, ToTargetPixel(end.y)}, cut),
                   mark.style.colour);
    }
}

Bitmap WithMarks(const Bitmap& base, double scale, const std::vector<Mark>& marks, const Bitmap& picture,
                 const TextShaper& shaper) {
    Bitmap out;
    try {
        out = TrueColourCopy(base);
    } catch (const std::bad_alloc&) {
        throw EImageTooLarge("The picture is too large to draw its markup into a copy");
    }
    MarkRenderer renderer(shaper);
    renderer.Draw(out, MarkView{scale, Point{0, 0}}, Rect::At(0, 0, out.Width(), out.Height()), marks, picture);
    return out;
}

}  // namespace vimbrel
