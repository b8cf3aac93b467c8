// The JPEG writer as a command, to time beside cjpeg on the same input:
//   jpeg_write_tool --make-ppm OUT.ppm   writes the benchmark picture as a binary PPM
//   jpeg_write_tool IN.ppm OUT.jpg       reads a binary PPM and writes it with our writer
//   jpeg_write_tool IN.ppm OUT.jpg N     the same, then writes it N times more and prints
//                                        the mean time of one write (no PPM reading in it)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "test_picture.h"
#include "workspace/bitmap.h"
#include "workspace/image_file.h"

namespace {

void WritePpm(const vimbrel::Bitmap& b, const char* path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << b.Width() << " " << b.Height() << "\n255\n";
    std::string row(std::size_t(b.Width()) * 3, '\0');
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            row[3 * x] = char(b.Row(y)[3 * x + 2]);
            row[3 * x + 1] = char(b.Row(y)[3 * x + 1]);
            row[3 * x + 2] = char(b.Row(y)[3 * x]);
        }
        out.write(row.data(), std::streamsize(row.size()));
    }
    if (!out) throw std::runtime_error(std::string("cannot write ") + path);
}

vimbrel::Bitmap ReadPpm(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    if (!in || magic != "P6" || maxval != 255) throw std::runtime_error(std::string("not a binary PPM: ") + path);
    vimbrel::Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = b.Row(y);
        in.read(reinterpret_cast<char*>(row), std::streamsize(width) * 3);
        for (int x = 0; x < width; ++x) std::swap(row[3 * x], row[3 * x + 2]);  // RGB to BGR
    }
    if (!in) throw std::runtime_error(std::string("PPM cut short: ") + path);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "--make-ppm") == 0) {
            WritePpm(vimbrel::bench::ScreenLikePicture(), argv[2]);
        } else if (argc == 3 || argc == 4) {
            const vimbrel::Bitmap picture = ReadPpm(argv[1]);
            vimbrel::WriteImageFile(picture, argv[2]);
            const int repeat = argc == 4 ? std::atoi(argv[3]) : 0;
            if (repeat > 0) {
                const auto start = std::chrono::steady_clock::now();
                for (int i = 0; i < repeat; ++i) vimbrel::WriteImageFile(picture, argv[2]);
                const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
                std::printf("write_ms=%.3f\n", spent.count() / repeat);
            }
        } else {
            std::fprintf(stderr, "usage: %s --make-ppm OUT.ppm | IN.ppm OUT.jpg [N]\n", argv[0]);
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
