// Size and write time of one picture in each image format the program writes, as a
// Markdown table (bench/png_vs_bmp_jpeg.sh feeds it a real capture):
//   image_formats_tool PICTURE RUNS
// PICTURE is any file the program reads. Each format is written RUNS times through
// WriteImageFile, as the save commands write it (encoding, the file, its move into place);
// the median time counts. PNG is also written at other zlib levels, and with and without
// libpng's row filters, for comparison.
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
#include "workspace/png_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& write) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        write();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

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
        const std::vector<Row> rows = {
            {"PNG, as the program writes it", "a.png", writeFile},
            {"BMP", "a.bmp", writeFile},
            {"JPEG, quality 90", "a.jpg", writeFile},
            {"PNG at zlib level 1", "b.png", pngWith({1, std::nullopt})},
            {"PNG at zlib level 9", "c.png", pngWith({9, std::nullopt})},
            {"PNG, rows filtered", "d.png", pngWith({vimbrel::kPngCompressionLevel, true})},
            {"PNG, rows unfiltered", "e.png", pngWith({vimbrel::kPngCompressionLevel, false})},
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
        // The PNG must be the picture itself.
        if (vimbrel::LoadImageFile((dir / "a.png").string()) != picture) throw std::runtime_error("the PNG file differs");
        std::filesystem::remove_all(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
