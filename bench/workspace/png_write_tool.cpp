// PNG writing of a text capture and of a screen of many colours (bench/png_write.sh): the
// program's writer beside the earlier one (libpng streaming into zlib) and beside the
// floor, the same picture written as a bitmap file, all in the same run:
//   png_write_tool [RUNS] [WIDTHxHEIGHT ...]   (default 15 runs, 1920x1080 and 1280x1024)
// Each is written RUNS times through WriteImageFile as the save commands write it (encoding,
// the file, its move into place); the median counts. The picture is TextCapturePicture: a
// 32-bit capture of windows of text, then ScreenLikePicture, a screen of more colours than a
// palette holds. Every PNG written must read back as the picture.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "test_picture.h"
#include "workspace/image_file.h"
#include "write_timing.h"
#include "workspace/png_file.h"

namespace {

using vimbrel::bench::MedianMs;
using vimbrel::bench::SameColours;

}  // namespace

int main(int argc, char** argv) {
    try {
        const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
        std::vector<std::pair<int, int>> sizes;
        for (int i = 2; i < argc; ++i) {
            int w = 0, h = 0;
            if (std::sscanf(argv[i], "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0)
                throw std::runtime_error(std::string("not a size: ") + argv[i]);
            sizes.emplace_back(w, h);
        }
        if (sizes.empty()) sizes = {{1920, 1080}, {1280, 1024}};
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vimbrel-png-write";
        std::filesystem::create_directories(dir);
        const std::string bmp = (dir / "floor.bmp").string(), ours = (dir / "ours.png").string(),
                          today = (dir / "today.png").string();
        vimbrel::PngWriteOptions earlier;
        earlier.coder = vimbrel::PngCoder::LibpngZlib;
        earlier.compressionLevel = vimbrel::kPngZlibCompressionLevel;
        // The text capture has a few colours and goes out as a palette; the screen with a
        // photograph in it has thousands and goes out in colour.
        struct Kind {
            const char* name;
            vimbrel::Bitmap (*make)(int, int);
        };
        std::vector<std::tuple<Kind, int, int>> cases;
        for (const auto& [w, h] : sizes) cases.push_back({Kind{"text capture (32 bits)", vimbrel::bench::TextCapturePicture}, w, h});
        cases.push_back({Kind{"screen with a photograph (24 bits)", vimbrel::bench::ScreenLikePicture}, sizes[0].first,
                         sizes[0].second});
        for (const auto& [kind, w, h] : cases) {
            const vimbrel::Bitmap picture = kind.make(w, h);
            // Taken in turns, so that a change of load meets all three alike.
            std::vector<double> floorMs, oursMs, todayMs;
            for (int i = 0; i < runs; ++i) {
                floorMs.push_back(MedianMs(1, [&] { vimbrel::WriteImageFile(picture, bmp); }));
                oursMs.push_back(MedianMs(1, [&] { vimbrel::WriteImageFile(picture, ours); }));
                todayMs.push_back(MedianMs(1, [&] { vimbrel::WriteFileBytes(today, vimbrel::EncodePng(picture, earlier)); }));
            }
            const auto median = [](std::vector<double> v) {
                std::sort(v.begin(), v.end());
                return v[v.size() / 2];
            };
            const double f = median(floorMs), o = median(oursMs), t = median(todayMs);
            const auto size = [](const std::string& p) { return double(std::filesystem::file_size(p)); };
            for (const std::string& p : {ours, today})
                if (!SameColours(*vimbrel::LoadImageFile(p), picture)) throw std::runtime_error("a PNG file differs from the picture");
            std::printf("PNG write of a %d x %d %s, median of %d\n", w, h, kind.name, runs);
            std::printf("  floor    %-46s %9.2f ms %9.0f bytes\n", "BMP write of the same picture", f, size(bmp));
            std::printf("  program  %-46s %9.2f ms %9.0f bytes\n", "PNG write (libdeflate)", o, size(ours));
            std::printf("  ratio    %-46s %9.2f\n", "program / floor", o / f);
            std::printf("  before   %-46s %9.2f ms %9.0f bytes, ratio %.2f\n", "PNG write (libpng and zlib, the earlier one)", t,
                        size(today), t / f);
            std::printf("  program / before: time %.2f, size %.3f\n", o / t, size(ours) / size(today));
        }
        std::filesystem::remove_all(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
