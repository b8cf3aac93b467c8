// Rebuilding the shown image of a full-HD capture at the zoom ratios users pick most.
#include <benchmark/benchmark.h>

#include "workspace/current_image.h"

namespace vimbrel {
namespace {

class NullView : public ImageView {
public:
    void ShowImage1(const Bitmap& image1) override { benchmark::DoNotOptimize(image1.Data()); }
    void SetStatusText(const std::string&) override {}
    void WarningBox(const std::string&) override {}
    void UpdateNotesState() override {}
};

class NullCursor : public CursorPort {
public:
    bool BusyCursorShown() const override { return false; }
    void ShowBusyCursor(bool) override {}
};

void BM_RenderShownImage(benchmark::State& state) {
    const int n = int(state.range(0)), d = int(state.range(1)), bpp = int(state.range(2));
    CommandStates commands;
    NullView view;
    NullCursor cursor;
    CurrentImage image(commands, view, cursor, [] { return false; });
    image.imgMain = Bitmap(1920, 1080, bpp);
    for (int y = 0; y < 1080; ++y)
        for (std::size_t i = 0; i < image.imgMain.Stride(); ++i) image.imgMain.Row(y)[i] = std::uint8_t(i * 7 + y);
    for (auto _ : state) image.RenderShownImage(image.imgMain, double(n) / double(d));
    state.SetLabel(std::to_string(n) + ":" + std::to_string(d) + " from " + std::to_string(bpp) + " bits, " +
                   std::to_string(image.Image1().Width()) + " x " + std::to_string(image.Image1().Height()));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(image.Image1().DataSize()));
}

BENCHMARK(BM_RenderShownImage)
    ->Args({1, 2, 32})
    ->Args({2, 1, 32})
    ->Args({10, 1, 32})
    ->Args({1, 2, 24})
    ->Args({2, 1, 24})
    ->Args({10, 1, 24})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vimbrel
