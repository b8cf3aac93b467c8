// Writing (and reading back) a 1920 x 1080 capture as a bitmap and as a JPEG file, encoding
// a text capture as PNG, and encoding a capture for the clipboard.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "test_picture.h"
#include "workspace/bmp_file.h"
#include "workspace/clipboard_picture.h"
#include "workspace/image_file.h"
#include "workspace/jpeg_file.h"
#include "workspace/png_file.h"

namespace {

const vimbrel::Bitmap& Picture() {
    static const vimbrel::Bitmap picture = vimbrel::bench::ScreenLikePicture();
    return picture;
}

std::string TempName(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void SetPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * std::int64_t(Picture().Width()) * Picture().Height());
}

void BM_WriteBmpFile(benchmark::State& state) {
    const std::string path = TempName("vimbrel-bench.bmp");
    for (auto _ : state) vimbrel::WriteImageFile(Picture(), path);
    SetPixels(state);
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteBmpFile)->Unit(benchmark::kMillisecond);

void BM_WriteJpegFile(benchmark::State& state) {
    const std::string path = TempName("vimbrel-bench.jpg");
    for (auto _ : state) vimbrel::WriteImageFile(Picture(), path);
    SetPixels(state);
    state.counters["bytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteJpegFile)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(vimbrel::EncodeJpeg(Picture()));
    SetPixels(state);
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);

// A text capture's PNG in memory, the file left out: where the writer's own time goes.
void BM_EncodePngTextCapture(benchmark::State& state) {
    static const vimbrel::Bitmap text = vimbrel::bench::TextCapturePicture();
    std::size_t bytes = 0;
    for (auto _ : state) bytes = vimbrel::EncodePng(text).size();
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.Width()) * text.Height());
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodePngTextCapture)->Unit(benchmark::kMillisecond);

// What Copy encodes for the clipboard besides CF_BITMAP: the packed DIB and the PNG file.
void BM_ClipboardCopyFormats(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(vimbrel::EncodeDib(Picture()));
        benchmark::DoNotOptimize(vimbrel::EncodeClipboardPng(Picture()));
    }
    SetPixels(state);
}
BENCHMARK(BM_ClipboardCopyFormats)->Unit(benchmark::kMillisecond);

void BM_ReadBmp(benchmark::State& state) {
    const std::vector<std::uint8_t> file = vimbrel::EncodeBmp(Picture());
    for (auto _ : state) benchmark::DoNotOptimize(vimbrel::DecodeBmp(file));
    SetPixels(state);
}
BENCHMARK(BM_ReadBmp)->Unit(benchmark::kMillisecond);

// Colour, greys (quantised), colour for a palette display (quantised).
void BM_ReadJpeg(benchmark::State& state) {
    const std::vector<std::uint8_t> file = vimbrel::EncodeJpeg(Picture());
    vimbrel::JpegReadOptions options;
    options.greys = state.range(0) == 1;
    options.trueColourDisplay = state.range(0) == 0;
    for (auto _ : state) benchmark::DoNotOptimize(vimbrel::DecodeJpeg(file, options));
    SetPixels(state);
}
BENCHMARK(BM_ReadJpeg)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
