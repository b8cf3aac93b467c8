// Size and write time of one picture in each image format the program writes, as a
// Markdown table (bench/png_vs_bmp_jpeg.sh feeds it a real capture):
//   image_formats_tool PICTURE RUNS
// PICTURE is any file the program reads. Each format is written RUNS times through
// WriteImageFile, as the save commands write it (encoding, the file, its move into place);
// the median time counts. PNG is also written by the earlier writer (libpng and zlib), at
// other libdeflate levels and with other row filters, for comparison. The report lines at
// the end take the BMP write as the floor and the program's PNG write as the program.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "workspace/image_file.h"
#include "write_timing.h"
#include "workspace/png_file.h"

namespace {

using vimbrel::bench::MedianMs;
using vimbrel::bench::SameColours;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PICTURE RUNS\n", argv[0]);
        return 2;
    }
    try {
        const std::optional<vimbrel::Bitmap> picture = vimbrel::LoadImageFile(argv[1]);
        if (!picture) throw std::runtime_error(std::string("not a picture file: ") + argv[1]);
        const int runs = std::max(1, std::atoi(argv[2]));
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vimbrel-image-formats";
        std::filesystem::create_directories(dir);

        struct Row {
            std::string format, file;
            std::function<void(const std::string&)> write;
        };
        const auto writeFile = [&](const std::string& path) { vimbrel::WriteImageFile(*picture, path); };
        const auto pngWith = [&](vimbrel::PngWriteOptions options) {
            return [&picture, options](const std::string& path) {
                vimbrel::WriteFileBytes(path, vimbrel::EncodePng(*picture, options));
            };
        };
        using vimbrel::PngCoder;
        using vimbrel::PngRowFilter;
        const int level = vimbrel::kPngCompressionLevel;
        const std::vector<Row> rows = {
            {"PNG, as the program writes it", "a.png", writeFile},
            {"BMP", "a.bmp", writeFile},
            {"JPEG, quality 90", "a.jpg", writeFile},
            {"PNG, the earlier writer (libpng, zlib level 6)", "b.png",
             pngWith({PngCoder::LibpngZlib, vimbrel::kPngZlibCompressionLevel, std::nullopt})},
            {"PNG at libdeflate level 1", "c.png", pngWith({PngCoder::Libdeflate, 1, std::nullopt})},
            {"PNG at libdeflate level 9", "d.png", pngWith({PngCoder::Libdeflate, 9, std::nullopt})},
            {"PNG, rows unfiltered", "e.png", pngWith({PngCoder::Libdeflate, level, PngRowFilter::None})},
            {"PNG, rows less the row above (Up)", "f.png", pngWith({PngCoder::Libdeflate, level, PngRowFilter::Up})},
            {"PNG, a filter chosen per row", "g.png", pngWith({PngCoder::Libdeflate, level, PngRowFilter::PerRow})},
        };
        std::printf("Picture: %d x %d at %d bits, %s\n\n", picture->Width(), picture->Height(), picture->BitsPerPixel(),
                    std::filesystem::path(argv[1]).filename().string().c_str());
        std::printf("| Format | Size (bytes) | Size against BMP | Write time (median of %d) |\n", runs);
        std::printf("|---|---:|---:|---:|\n");
        std::uintmax_t bmpSize = 0;
        std::vector<std::pair<std::uintmax_t, double>> measured;
        for (const Row& r : rows) {
            const std::string path = (dir / r.file).string();
            const double ms = MedianMs(runs, [&] { r.write(path); });
            measured.emplace_back(std::filesystem::file_size(path), ms);
            if (r.format == "BMP") bmpSize = measured.back().first;
        }
        for (std::size_t i = 0; i < rows.size(); ++i)
            std::printf("| %s | %ju | %.1f %% | %.1f ms |\n", rows[i].format.c_str(), measured[i].first,
                        100.0 * double(measured[i].first) / double(bmpSize), measured[i].second);
        std::printf("\n  floor    %-46s %9.2f ms\n", "BMP write of the capture", measured[1].second);
        std::printf("  program  %-46s %9.2f ms\n", "PNG write of the capture", measured[0].second);
        std::printf("  ratio    %-46s %9.2f\n", "program / floor", measured[0].second / measured[1].second);
        std::printf("  before   %-46s %9.2f ms, ratio %.2f\n", "PNG write, the earlier writer", measured[3].second,
                    measured[3].second / measured[1].second);
        std::printf("  program / before: time %.2f, size %.3f\n", measured[0].second / measured[3].second,
                    double(measured[0].first) / double(measured[3].first));
        // Every PNG must be the picture itself (an opaque capture reads back at 24 bits).
        for (const Row& r : rows) {
            const std::optional<vimbrel::Bitmap> back = vimbrel::LoadImageFile((dir / r.file).string());
            if (r.file.ends_with(".png") && !SameColours(*back, *picture)) throw std::runtime_error(r.format + ": the file differs");
        }
        std::filesystem::remove_all(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
