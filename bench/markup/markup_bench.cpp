// The markup's drawing over a 3840 x 2160 picture holding 200 marks of every kind: one mouse
// move's repaint (the dragged mark's old and new place, composed as the window composes it),
// a whole window's and a whole picture's repaint, and what drawing the marks into a copy
// for a save adds to the copy itself. Text comes from a block stand-in for the platform's
// glyphs, so its figures leave out the font engine.
#include <benchmark/benchmark.h>

#include <cstring>

#include "block_text_shaper.h"
#include "markup/mark_geometry.h"
#include "markup/mark_renderer.h"

namespace vimbrel {
namespace {

constexpr int kWidth = 3840, kHeight = 2160;

Bitmap Picture() {
    Bitmap b(kWidth, kHeight, 24);
    for (int y = 0; y < kHeight; ++y)
        for (std::size_t i = 0; i < b.Stride(); ++i) b.Row(y)[i] = std::uint8_t((i / 3 * 7 + y * 3) & 0xFF);
    return b;
}

std::vector<Mark> TwoHundredMarks() {
    std::vector<Mark> marks;
    const MarkTool kinds[] = {MarkTool::Rectangle, MarkTool::Ellipse, MarkTool::Line, MarkTool::Arrow,
                              MarkTool::Pen,       MarkTool::Highlighter, MarkTool::Rectangle, MarkTool::Arrow,
                              MarkTool::Text,      MarkTool::Step,        MarkTool::Redact,    MarkTool::Ellipse};
    for (int i = 0; i < 200; ++i) {
        const MarkTool kind = kinds[i % 12];
        const int x = 40 + (i * 373) % (kWidth - 400), y = 40 + (i * 211) % (kHeight - 300);
        Mark m{kind, MarkStyle{}, {}, {}};
        m.style.width = 2 + i % 5;
        m.style.fill = i % 7 == 0;
        switch (kind) {
        case MarkTool::Pen:
        case MarkTool::Highlighter:
            for (int k = 0; k < 30; ++k) m.points.push_back(Point{x + k * 8, y + (k % 5) * 12});
            break;
        case MarkTool::Text:
            m.points = {Point{x, y}};
            m.text = "Click here to continue\nthen press OK";
            break;
        case MarkTool::Step: m.points = {Point{x, y}}; break;
        default: m.points = {Point{x, y}, Point{x + 120 + i % 200, y + 80 + i % 120}};
        }
        marks.push_back(std::move(m));
    }
    return marks;
}

// The window's composed paint of `area` (shown-picture pixels at 1:1).
void Compose(Bitmap& view, const Bitmap& picture, const Rect& area, MarkRenderer& renderer,
             const std::vector<Mark>& marks, const Mark* selected) {
    for (int y = 0; y < area.Height(); ++y)
        std::memcpy(view.Row(y), picture.Row(area.top + y) + std::size_t(area.left) * 3, std::size_t(area.Width()) * 3);
    const MarkView at{1.0, area.TopLeft()};
    const Rect clip = Rect::At(0, 0, area.Width(), area.Height());
    renderer.Draw(view, at, clip, marks, picture);
    if (selected) renderer.DrawSelection(view, at, clip, *selected, 7, false);
}

void BM_OneMouseMoveRepaint(benchmark::State& state) {
    const Bitmap picture = Picture();
    std::vector<Mark> marks = TwoHundredMarks();
    const testing::BlockTextShaper shaper;
    MarkRenderer renderer(shaper);
    Mark& dragged = marks[100];
    int step = 1;
    for (auto _ : state) {
        const Rect before = MarkBounds(dragged, shaper);
        dragged = Moved(dragged, step, step);
        step = -step;
        const Rect after = MarkBounds(dragged, shaper);
        const Rect area = Intersect(Inflated(Rect{std::min(before.left, after.left), std::min(before.top, after.top),
                                                  std::max(before.right, after.right), std::max(before.bottom, after.bottom)},
                                             9),
                                    Rect::At(0, 0, kWidth, kHeight));
        Bitmap view = Bitmap::Unfilled(area.Width(), area.Height(), 24);
        Compose(view, picture, area, renderer, marks, &dragged);
        benchmark::DoNotOptimize(view.Data());
    }
}
BENCHMARK(BM_OneMouseMoveRepaint)->Unit(benchmark::kMillisecond);

void BM_WholeViewRepaint(benchmark::State& state) {
    const Bitmap picture = Picture();
    const std::vector<Mark> marks = TwoHundredMarks();
    const testing::BlockTextShaper shaper;
    MarkRenderer renderer(shaper);
    const Rect area = Rect::At(0, 0, int(state.range(0)), int(state.range(1)));
    Bitmap view = Bitmap::Unfilled(area.Width(), area.Height(), 24);
    for (auto _ : state) {
        Compose(view, picture, area, renderer, marks, &marks[0]);
        benchmark::DoNotOptimize(view.Data());
    }
    state.SetLabel(std::to_string(area.Width()) + " x " + std::to_string(area.Height()) + " of the picture");
}
BENCHMARK(BM_WholeViewRepaint)->Args({1920, 1080})->Args({kWidth, kHeight})->Unit(benchmark::kMillisecond);

void BM_CopyForASave(benchmark::State& state) {
    const Bitmap picture = Picture();
    for (auto _ : state) {
        Bitmap copy = picture;
        benchmark::DoNotOptimize(copy.Data());
    }
    state.SetLabel("the copy alone");
}
BENCHMARK(BM_CopyForASave)->Unit(benchmark::kMillisecond);

void BM_MarkedCopyForASave(benchmark::State& state) {
    const Bitmap picture = Picture();
    const std::vector<Mark> marks = TwoHundredMarks();
    const testing::BlockTextShaper shaper;
    for (auto _ : state) {
        Bitmap copy = WithMarks(picture, 1.0, marks, picture, shaper);
        benchmark::DoNotOptimize(copy.Data());
    }
    state.SetLabel("the copy with 200 marks drawn in");
}
BENCHMARK(BM_MarkedCopyForASave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vimbrel
