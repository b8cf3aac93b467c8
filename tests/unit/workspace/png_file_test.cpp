// PNG files: lossless round trips, files of every colour type and depth as other programs
// write them, and files that lie.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <filesystem>
#include <string>

#include <memory>
#include <set>

#include <png.h>
#include <zlib.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

#include "workspace/image_file.h"
#include "workspace/png_file.h"
#include "scratch_folder.h"
#include "test_pictures.h"

namespace vimbrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The earlier writer, libpng streaming into zlib, kept beside the program's own.
const PngWriteOptions kEarlierWriter{PngCoder::LibpngZlib, kPngZlibCompressionLevel, std::nullopt};

using testing::Pattern;

// The pattern with a colour table of just the colours it uses.
Bitmap ShortTable(Bitmap b) {
    b.Palette().resize(16);
    return b;
}

// ---- PNG files made by hand, the way other programs lay them out ----

void PutBig32(Bytes& out, std::uint32_t v) {
    for (int shift : {24, 16, 8, 0}) out.push_back(std::uint8_t(v >> shift));
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
    PutBig32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

struct HandMade {
    int width = 0, height = 0, depth = 8, colourType = 2;
    bool interlaced = false;
    std::vector<std::vector<unsigned>> pixels;  // [y * width + x]: the samples of one pixel
    Bytes palette;                              // PLTE data, when not empty
    Bytes transparency;                         // tRNS data, when not empty
};

// One row of samples packed at the file's depth: several to a byte below 8 bits (first in
// the high bits), two bytes big-endian at 16.
Bytes PackRow(const HandMade& m, const std::vector<int>& xs, int y) {
    Bytes row;
    unsigned bits = 0, filled = 0;
    for (int x : xs)
        for (unsigned sample : m.pixels[std::size_t(y * m.width + x)]) {
            if (m.depth == 16) {
                row.push_back(std::uint8_t(sample >> 8));
                row.push_back(std::uint8_t(sample));
            } else if (m.depth == 8) {
                row.push_back(std::uint8_t(sample));
            } else {
                bits = (bits << m.depth) | sample;
                filled += unsigned(m.depth);
                if (filled == 8) row.push_back(std::uint8_t(bits)), bits = 0, filled = 0;
            }
        }
    if (filled) row.push_back(std::uint8_t(bits << (8 - filled)));
    return row;
}

// The unfiltered scan lines: the whole picture, or the seven Adam7 passes in turn.
Bytes ScanLines(const HandMade& m) {
    struct Pass { int x0, y0, dx, dy; };
    const std::vector<Pass> passes = m.interlaced
        ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
        : std::vector<Pass>{{0, 0, 1, 1}};
    Bytes lines;
    for (const Pass& p : passes) {
        std::vector<int> xs;
        for (int x = p.x0; x < m.width; x += p.dx) xs.push_back(x);
        if (xs.empty()) continue;
        for (int y = p.y0; y < m.height; y += p.dy) {
            lines.push_back(0);  // filter: none
            const Bytes row = PackRow(m, xs, y);
            lines.insert(lines.end(), row.begin(), row.end());
        }
    }
    return lines;
}

Bytes Header(int width, int height, int depth, int colourType, bool interlaced) {
    Bytes ihdr;
    PutBig32(ihdr, std::uint32_t(width));
    PutBig32(ihdr, std::uint32_t(height));
    ihdr.insert(ihdr.end(), {std::uint8_t(depth), std::uint8_t(colourType), 0, 0, std::uint8_t(interlaced)});
    return ihdr;
}

const Bytes kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

Bytes Deflated(const Bytes& raw) {
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9), Z_OK);
    out.resize(size);
    return out;
}

Bytes FileOf(const HandMade& m) {
    Bytes f = kSignature;
    Chunk(f, "IHDR", Header(m.width, m.height, m.depth, m.colourType, m.interlaced));
    Chunk(f, "tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'});
    if (!m.palette.empty()) Chunk(f, "PLTE", m.palette);
    if (!m.transparency.empty()) Chunk(f, "tRNS", m.transparency);
    // The data split over two chunks, as streaming writers do.
    const Bytes data = Deflated(ScanLines(m));
    Chunk(f, "IDAT", Bytes(data.begin(), data.begin() + std::ptrdiff_t(data.size() / 2)));
    Chunk(f, "IDAT", Bytes(data.begin() + std::ptrdiff_t(data.size() / 2), data.end()));
    Chunk(f, "IEND", {});
    return f;
}

// Every pixel of a picture from one function of its position.
HandMade Make(int width, int height, int depth, int colourType, const std::function<std::vector<unsigned>(int, int)>& at) {
    HandMade m;
    m.width = width;
    m.height = height;
    m.depth = depth;
    m.colourType = colourType;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) m.pixels.push_back(at(x, y));
    return m;
}

RgbQuad Grey(unsigned v) { return RgbQuad{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v), 0}; }

// ---- round trips ----

TEST(PngFile, RoundTripsLosslesslyAtEveryDepth) {
    struct Case {
        const char* name;
        Bitmap picture;
        std::uint8_t colourType;  // in the written header
    };
    const Case cases[] = {
        {"24 bits, rows padded", Pattern(33, 17, 24), 2},
        {"24 bits, few colours", Pattern(5, 3, 24), 3},
        {"32 bits with an alpha in the fourth byte", Pattern(7, 4, 32), 6},
        {"32-bit capture, fourth byte unused", Pattern(33, 17, 24), 2},
        {"32-bit capture of few colours", Pattern(9, 2, 24), 3},
        {"8 bits with a short colour table", ShortTable(Pattern(6, 5, 8)), 3},
        {"one pixel", Pattern(1, 1, 24), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap original = c.picture;
        if (std::string(c.name).find("capture") != std::string::npos) {
            original = Bitmap(c.picture.Width(), c.picture.Height(), 32);
            for (int y = 0; y < original.Height(); ++y)
                for (int x = 0; x < original.Width(); ++x) original.SetPixelColour(x, y, c.picture.PixelColour(x, y));
        }
        const Bytes file = EncodePng(original);
        ASSERT_GT(file.size(), 33u);
        EXPECT_TRUE(std::equal(kSignature.begin(), kSignature.end(), file.begin()));
        EXPECT_EQ(file[25], c.colourType);
        if (std::string(c.name).find("capture") != std::string::npos) {
            // Written without the fourth byte, in colour or as a palette: read back at 24 bits
            // with the same colours.
            const Bitmap back = DecodePng(file);
            EXPECT_EQ(back.BitsPerPixel(), 24);
            EXPECT_TRUE(testing::SamePixels(back, original));
            const Bytes old = EncodePng(original, kEarlierWriter);
            EXPECT_EQ(old[25], 6) << "the earlier writer: opaque RGBA, whatever the colours";
            EXPECT_EQ(DecodePng(old), original) << "read back with 0s in the fourth byte";
        } else {
            EXPECT_EQ(DecodePng(file), original);
        }
        const Size size = ReadPngSize(file);
        EXPECT_EQ(size.width, original.Width());
        EXPECT_EQ(size.height, original.Height());
    }
}

// What another reader makes of our files: libpng's simplified interface, none of our code.
std::vector<std::uint8_t> ReadAsRgba(const Bytes& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size())) << image.message;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    width = int(image.width);
    height = int(image.height);
    return pixels;
}

TEST(PngFile, CapturesShowOpaqueAndAlphaStaysAlphaInOtherReaders) {
    Bitmap capture(3, 2, 32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) capture.SetPixelColour(x, y, RgbQuad{std::uint8_t(x), std::uint8_t(y), 200, 0});
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba = ReadAsRgba(EncodePng(capture), width, height);
    ASSERT_EQ(width * height, 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rgba[std::size_t(4 * i)], 200) << "red";
        EXPECT_EQ(rgba[std::size_t(4 * i + 1)], i / 3) << "green";
        EXPECT_EQ(rgba[std::size_t(4 * i + 2)], i % 3) << "blue";
        EXPECT_EQ(rgba[std::size_t(4 * i + 3)], 255) << "opaque";
    }
    capture.SetPixelColour(1, 1, RgbQuad{1, 1, 200, 128});
    rgba = ReadAsRgba(EncodePng(capture), width, height);
    EXPECT_EQ(rgba[4 * 4 + 3], 128);
    EXPECT_EQ(rgba[3], 0) << "once any pixel has one, the fourth byte is the alpha everywhere";

    // An opaque picture with 255s in the fourth byte goes out without alpha too and reads
    // back in the captures' form; the earlier writer keeps it opaque.
    Bitmap opaque = Pattern(4, 4, 32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) opaque.Row(y)[4 * x + 3] = 255;
    const Bytes opaqueFile = EncodePng(opaque);
    EXPECT_NE(opaqueFile[25], 6) << "no alpha channel";
    rgba = ReadAsRgba(EncodePng(opaque, kEarlierWriter), width, height);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(rgba[std::size_t(4 * i + 3)], 255) << "opaque in the earlier writer's file";
    const Bitmap back = DecodePng(opaqueFile);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            RgbQuad want = opaque.PixelColour(x, y);
            want.reserved = 0;
            EXPECT_EQ(back.PixelColour(x, y), want);
        }
}

// The filter byte of each row of a file we wrote (one IDAT stream, no interlace).
std::vector<int> RowFilters(const Bytes& file, const Bitmap& picture) {
    Bytes compressed;
    for (std::size_t i = 8; i + 12 <= file.size();) {
        const std::uint32_t length = (std::uint32_t(file[i]) << 24) | (file[i + 1] << 16) | (file[i + 2] << 8) | file[i + 3];
        if (std::memcmp(&file[i + 4], "IDAT", 4) == 0)
            compressed.insert(compressed.end(), file.begin() + std::ptrdiff_t(i + 8), file.begin() + std::ptrdiff_t(i + 8 + length));
        i += 12 + length;
    }
    const int channels = file[25] == 3 ? 1 : file[25] == 2 ? 3 : 4;
    const std::size_t rowBytes = 1 + (std::size_t(picture.Width()) * std::size_t(channels) * file[24] + 7) / 8;
    Bytes raw(rowBytes * std::size_t(picture.Height()));
    uLongf size = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), uLong(compressed.size())), Z_OK);
    std::vector<int> filters;
    for (std::size_t at = 0; at < size; at += rowBytes) filters.push_back(raw[at]);
    return filters;
}

// A window of "text": flat white with a few dark marks on every row.
// Dark dots on white, as a 32-bit capture; with manyInks each dot has a colour of its own.
Bitmap FlatText(int width, int height, bool manyInks = false) {
    Bitmap flat(width, height, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const RgbQuad ink = manyInks ? RgbQuad{std::uint8_t(x), std::uint8_t(x >> 8), std::uint8_t(y), 0} : RgbQuad{20, 20, 20, 0};
            flat.SetPixelColour(x, y, (x + y) % 13 == 0 ? ink : RgbQuad{255, 255, 255, 0});
        }
    return flat;
}

TEST(PngFile, FlatPicturesAreWrittenUnfilteredAndPhotographsFilteredPerRow) {
    for (const bool manyInks : {false, true}) {
        SCOPED_TRACE(manyInks ? "colour" : "palette");
        const Bitmap flat = FlatText(manyInks ? 600 : 64, 16, manyInks);
        const Bytes flatFile = EncodePng(flat);
        EXPECT_EQ(flatFile[25], manyInks ? 2 : 3);
        EXPECT_TRUE(testing::SamePixels(DecodePng(flatFile), flat));
        EXPECT_EQ(RowFilters(flatFile, flat), std::vector<int>(16, 0));
    }
    const Bitmap flat = FlatText(64, 16);
    const Bitmap photo = Pattern(64, 16, 24);
    const Bytes photoFile = EncodePng(photo);
    ASSERT_EQ(photoFile[25], 2) << "more colours than a palette holds";
    const std::vector<int> photoFilters = RowFilters(photoFile, photo);
    ASSERT_EQ(photoFilters.size(), 16u);
    EXPECT_GT(std::set<int>(photoFilters.begin(), photoFilters.end()).size(), 1u) << "a filter chosen per row";
    for (PngRowFilter filter : {PngRowFilter::None, PngRowFilter::Up}) {
        const Bytes chosen = EncodePng(photo, {PngCoder::Libdeflate, kPngCompressionLevel, filter});
        EXPECT_EQ(RowFilters(chosen, photo), std::vector<int>(16, filter == PngRowFilter::Up ? 2 : 0))
            << "the choice can be overridden";
        EXPECT_EQ(DecodePng(chosen), photo);
    }
    // The earlier writer: flat pictures unfiltered, photographs by libpng's choice.
    EXPECT_EQ(RowFilters(EncodePng(flat, kEarlierWriter), flat), std::vector<int>(16, 0));
    const std::vector<int> libpngFilters = RowFilters(EncodePng(photo, kEarlierWriter), photo);
    EXPECT_NE(std::count(libpngFilters.begin(), libpngFilters.end(), 0), 16);
    // Palette pictures: unfiltered, indices are no sample values.
    const Bitmap palette = ShortTable(Pattern(6, 5, 8));
    const Bytes paletteFile = EncodePng(palette);
    EXPECT_EQ(DecodePng(paletteFile), palette);
    EXPECT_EQ(RowFilters(paletteFile, palette), std::vector<int>(5, 0));
}

// Both writers, every filter, every depth: the same pixels through libpng's simplified
// reader and through stb_image, whose inflate and unfiltering share no code with zlib,
// libdeflate or libpng.
TEST(PngFile, OtherDecodersReadEveryWriterAndFilter) {
    Bitmap alpha = Pattern(23, 7, 32);
    Bitmap capture = FlatText(31, 9);
    capture.SetPixelColour(5, 5, RgbQuad{1, 2, 3, 0});
    // Default writer: 17 x 6 and 5 x 3 (odd, four bits) pictures of few colours, and the
    // capture's three (two bits), go out as palettes; 33 x 17 as colour.
    const Bitmap pictures[] = {Pattern(17, 6, 24), alpha, capture, ShortTable(Pattern(6, 5, 8)), Pattern(1, 1, 24),
                               Pattern(5, 3, 24), Pattern(33, 17, 24)};
    std::vector<PngWriteOptions> writers;
    for (int level : {1, 6, 12})
        for (PngRowFilter f : {PngRowFilter::None, PngRowFilter::Up, PngRowFilter::PerRow})
            writers.push_back({PngCoder::Libdeflate, level, f});
    writers.push_back({PngCoder::Libdeflate, kPngCompressionLevel, std::nullopt});
    writers.push_back({PngCoder::LibpngZlib, kPngZlibCompressionLevel, std::nullopt});
    for (const Bitmap& picture : pictures)
        for (const PngWriteOptions& w : writers) {
            SCOPED_TRACE(std::to_string(picture.BitsPerPixel()) + " bits, coder " + std::to_string(int(w.coder)) +
                         ", level " + std::to_string(w.compressionLevel) + ", filter " +
                         std::to_string(w.filter ? int(*w.filter) : -1));
            const Bytes file = EncodePng(picture, w);
            EXPECT_TRUE(testing::SamePixels(DecodePng(file), picture));
            int width = 0, height = 0;
            const std::vector<std::uint8_t> libpng = ReadAsRgba(file, width, height);
            int stbWidth = 0, stbHeight = 0, channels = 0;
            std::unique_ptr<stbi_uc, void (*)(void*)> stb(
                stbi_load_from_memory(file.data(), int(file.size()), &stbWidth, &stbHeight, &channels, 4), stbi_image_free);
            ASSERT_TRUE(stb) << stbi_failure_reason();
            ASSERT_EQ(stbWidth, picture.Width());
            ASSERT_EQ(stbHeight, picture.Height());
            ASSERT_EQ(width, picture.Width());
            const bool opaque = picture.BitsPerPixel() != 32 || &picture == &pictures[2];
            for (int y = 0; y < picture.Height(); ++y)
                for (int x = 0; x < picture.Width(); ++x) {
                    const RgbQuad c = picture.PixelColour(x, y);
                    const std::size_t i = 4 * (std::size_t(y) * std::size_t(picture.Width()) + std::size_t(x));
                    const std::vector<int> want = {c.red, c.green, c.blue, opaque ? 255 : c.reserved};
                    ASSERT_EQ(std::vector<int>(stb.get() + i, stb.get() + i + 4), want) << "stb_image at " << x << ", " << y;
                    ASSERT_EQ(std::vector<int>(libpng.begin() + std::ptrdiff_t(i), libpng.begin() + std::ptrdiff_t(i + 4)), want)
                        << "libpng at " << x << ", " << y;
                }
        }
}

// The chunks of a file: type and length, each CRC checked.
std::vector<std::pair<std::string, std::uint32_t>> Chunks(const Bytes& file) {
    std::vector<std::pair<std::string, std::uint32_t>> chunks;
    for (std::size_t i = 8; i + 12 <= file.size();) {
        const std::uint32_t length = (std::uint32_t(file[i]) << 24) | (file[i + 1] << 16) | (file[i + 2] << 8) | file[i + 3];
        const std::uint32_t crc = (std::uint32_t(file[i + 8 + length]) << 24) | (file[i + 9 + length] << 16) |
                                  (file[i + 10 + length] << 8) | file[i + 11 + length];
        EXPECT_EQ(crc, std::uint32_t(crc32(0, &file[i + 4], uInt(length + 4))));
        chunks.emplace_back(std::string(reinterpret_cast<const char*>(&file[i + 4]), 4), length);
        i += 12 + length;
    }
    return chunks;
}

// A capture of n colours: n - 1 dots of their own colours on white, 40 x 30.
Bitmap CaptureOfColours(int n) {
    Bitmap b(40, 30, 32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) b.SetPixelColour(x, y, RgbQuad{255, 255, 255, 0});
    for (int i = 0; i < n - 1; ++i) b.SetPixelColour(i % 40, i / 40, RgbQuad{std::uint8_t(i), std::uint8_t(i >> 8), 7, 0});
    return b;
}

TEST(PngFile, CapturesOfFewColoursGoOutAsTheSmallestPaletteAndReadBackInColour) {
    struct Case {
        int colours, depth, colourType;
    };
    for (const Case c : {Case{1, 1, 3}, Case{2, 1, 3}, Case{3, 2, 3}, Case{4, 2, 3}, Case{5, 4, 3}, Case{16, 4, 3},
                         Case{17, 8, 3}, Case{256, 8, 3}, Case{257, 8, 2}}) {
        SCOPED_TRACE(std::to_string(c.colours) + " colours");
        const Bitmap capture = CaptureOfColours(c.colours);
        const Bytes file = EncodePng(capture);
        EXPECT_EQ(file[24], c.depth);
        EXPECT_EQ(file[25], c.colourType);
        const std::vector<std::pair<std::string, std::uint32_t>> chunks = Chunks(file);
        const bool marked = std::find(chunks.begin(), chunks.end(), std::make_pair(std::string("trUE"), 1u)) != chunks.end();
        EXPECT_EQ(marked, c.colourType == 3) << "a palette standing for colour says so";
        const Bitmap back = DecodePng(file);
        EXPECT_EQ(back.BitsPerPixel(), 24) << "so that it opens as the capture did";
        EXPECT_TRUE(testing::SamePixels(back, capture));
    }
}

TEST(PngFile, LargeDataIsSplitIntoChunksOfAMebibyte) {
    Bitmap noise(700, 500, 32);  // 1.4 MB that deflate cannot shrink
    std::uint32_t state = 1;
    for (int y = 0; y < noise.Height(); ++y)
        for (int x = 0; x < noise.Width() * 4; ++x) noise.Row(y)[x] = std::uint8_t((state = state * 1664525u + 1013904223u) >> 24);
    const Bytes file = EncodePng(noise);
    const auto chunks = Chunks(file);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0], std::make_pair(std::string("IHDR"), 13u));
    EXPECT_EQ(chunks[1], std::make_pair(std::string("IDAT"), 1u << 20));
    EXPECT_EQ(chunks[2].first, "IDAT");
    EXPECT_EQ(chunks[3], std::make_pair(std::string("IEND"), 0u));
    EXPECT_EQ(DecodePng(file), noise);
    int w = 0, h = 0, n = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> stb(stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 4), stbi_image_free);
    ASSERT_TRUE(stb);
    for (int y = 0; y < noise.Height(); y += 97)
        for (int x = 0; x < noise.Width(); x += 13) {
            const std::uint8_t* p = stb.get() + 4 * (std::size_t(y) * 700 + std::size_t(x));
            const RgbQuad c = noise.PixelColour(x, y);
            ASSERT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{c.red, c.green, c.blue, c.reserved}));
        }
    // A palette picture's table comes before its data.
    const auto paletteChunks = Chunks(EncodePng(ShortTable(Pattern(6, 5, 8))));
    ASSERT_EQ(paletteChunks.size(), 4u);
    EXPECT_EQ(paletteChunks[1], std::make_pair(std::string("PLTE"), 48u));
}

TEST(PngFile, PixelsPastTheColourTableAreWrittenBlackAsTheyAreShown) {
    Bitmap b(4, 1, 8);
    b.Palette() = {RgbQuad{1, 2, 3, 0}, RgbQuad{4, 5, 6, 0}};
    b.Row(0)[0] = 0;
    b.Row(0)[1] = 1;
    b.Row(0)[2] = 7;
    b.Row(0)[3] = 1;
    const Bitmap back = DecodePng(EncodePng(b));
    ASSERT_EQ(back.BitsPerPixel(), 8);
    EXPECT_EQ(back.Palette().size(), 8u);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(back.PixelColour(x, 0), b.PixelColour(x, 0)) << x;
}

TEST(PngFile, EmptyPictureCannotBeWritten) { EXPECT_THROW(EncodePng(Bitmap(0, 0, 24)), EInOutError); }

// ---- files of other programs ----

TEST(PngFile, ReadsEveryColourTypeAndDepth) {
    const Bytes rgbPalette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    struct Case {
        const char* name;
        HandMade file;
        int bpp;
        // The colour the picture should have at (x, y).
        std::function<RgbQuad(int, int)> expected;
        std::size_t tableSize = 0;  // 8-bit pictures
    };
    std::vector<Case> cases;
    for (int depth : {1, 2, 4, 8}) {
        const unsigned top = (1u << depth) - 1;
        cases.push_back({"grey", Make(11, 3, depth, 0, [=](int x, int y) { return std::vector<unsigned>{unsigned(x + y) % (top + 1)}; }),
                         8, [=](int x, int y) { return Grey(unsigned(x + y) % (top + 1) * 255 / top); }, 256});
        const unsigned colours = std::min(4u, top + 1);
        HandMade palette = Make(13, 2, depth, 3, [=](int x, int y) { return std::vector<unsigned>{unsigned(x * y) % colours}; });
        palette.palette = Bytes(rgbPalette.begin(), rgbPalette.begin() + 3 * colours);
        cases.push_back({"palette", palette, 8, [=](int x, int y) {
                             const std::size_t i = 3 * (unsigned(x * y) % colours);
                             return RgbQuad{rgbPalette[i + 2], rgbPalette[i + 1], rgbPalette[i], 0};
                         }, colours});
    }
    cases.push_back({"grey 16", Make(3, 2, 16, 0, [](int x, int y) { return std::vector<unsigned>{unsigned(x * 0x50 + y) * 257}; }),
                     8, [](int x, int y) { return Grey(unsigned(x * 0x50 + y)); }, 256});
    cases.push_back({"rgb 8", Make(5, 4, 8, 2, [](int x, int y) { return std::vector<unsigned>{unsigned(x * 50), unsigned(y * 60), 7}; }),
                     24, [](int x, int y) { return RgbQuad{7, std::uint8_t(y * 60), std::uint8_t(x * 50), 0}; }});
    cases.push_back({"rgb 16", Make(2, 2, 16, 2, [](int x, int y) { return std::vector<unsigned>{0xFFFFu, unsigned(x) * 0x8080u, unsigned(y) * 0x0101u}; }),
                     24, [](int x, int y) { return RgbQuad{std::uint8_t(y), std::uint8_t(x * 0x80), 255, 0}; }});
    cases.push_back({"grey and alpha", Make(3, 1, 8, 4, [](int x, int) { return std::vector<unsigned>{unsigned(x * 100), unsigned(x * 20)}; }),
                     32, [](int x, int) { return RgbQuad{std::uint8_t(x * 100), std::uint8_t(x * 100), std::uint8_t(x * 100), std::uint8_t(x * 20)}; }});
    cases.push_back({"rgba 16", Make(2, 1, 16, 6, [](int x, int) { return std::vector<unsigned>{0x1212u, 0x3434u, 0x5656u, unsigned(x) * 0xFFFFu}; }),
                     32, [](int x, int) { return RgbQuad{0x56, 0x34, 0x12, std::uint8_t(x * 255)}; }});
    HandMade seeThrough = Make(4, 1, 8, 3, [](int x, int) { return std::vector<unsigned>{unsigned(x % 2)}; });
    seeThrough.palette = {9, 8, 7, 6, 5, 4};
    seeThrough.transparency = {0};  // entry 0 transparent, the rest opaque
    cases.push_back({"palette with a transparent entry", seeThrough, 32, [](int x, int) {
                         return x % 2 ? RgbQuad{4, 5, 6, 255} : RgbQuad{7, 8, 9, 0};
                     }});
    HandMade keyed = Make(3, 1, 8, 2, [](int x, int) { return std::vector<unsigned>{unsigned(x), 0, 0}; });
    keyed.transparency = {0, 1, 0, 0, 0, 0};  // red 1 is the transparent colour
    cases.push_back({"colour with a transparent colour", keyed, 32, [](int x, int) {
                         return RgbQuad{0, 0, std::uint8_t(x), std::uint8_t(x == 1 ? 0 : 255)};
                     }});
    HandMade interlaced = Make(19, 11, 8, 2, [](int x, int y) { return std::vector<unsigned>{unsigned(x * 13), unsigned(y * 23), unsigned(x ^ y)}; });
    interlaced.interlaced = true;
    cases.push_back({"interlaced", interlaced, 24, [](int x, int y) {
                         return RgbQuad{std::uint8_t(x ^ y), std::uint8_t(y * 23), std::uint8_t(x * 13), 0};
                     }});
    HandMade interlacedGrey = Make(9, 9, 2, 0, [](int x, int y) { return std::vector<unsigned>{unsigned(x + 2 * y) % 4}; });
    interlacedGrey.interlaced = true;
    cases.push_back({"interlaced 2-bit grey", interlacedGrey, 8, [](int x, int y) { return Grey(unsigned(x + 2 * y) % 4 * 85); }, 256});

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.file.depth) + " bits");
        const Bitmap b = DecodePng(FileOf(c.file));
        ASSERT_EQ(b.Width(), c.file.width);
        ASSERT_EQ(b.Height(), c.file.height);
        ASSERT_EQ(b.BitsPerPixel(), c.bpp);
        if (c.bpp == 8) {
            EXPECT_EQ(b.Palette().size(), c.tableSize);
        }
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) ASSERT_EQ(b.PixelColour(x, y), c.expected(x, y)) << x << ", " << y;
        // Whatever it was read from, the picture writes back as it is.
        EXPECT_EQ(DecodePng(EncodePng(b)), b);
    }
}

// ---- files that lie ----

HandMade Small() {
    return Make(16, 8, 8, 2, [](int x, int y) { return std::vector<unsigned>{unsigned(x), unsigned(y), 3}; });
}

// The file with one chunk's data changed; the CRC is made to fit unless told otherwise.
Bytes WithChunk(Bytes f, const char* type, const std::function<void(std::uint8_t*)>& change, bool fixCrc = true) {
    for (std::size_t i = 8; i + 12 <= f.size();) {
        const std::uint32_t length = (std::uint32_t(f[i]) << 24) | (f[i + 1] << 16) | (f[i + 2] << 8) | f[i + 3];
        if (std::memcmp(&f[i + 4], type, 4) == 0) {
            change(&f[i + 8]);
            if (fixCrc) {
                const std::uint32_t crc = std::uint32_t(crc32(0, &f[i + 4], uInt(length + 4)));
                for (int k = 0; k < 4; ++k) f[i + 8 + length + std::size_t(k)] = std::uint8_t(crc >> (24 - 8 * k));
            }
            return f;
        }
        i += 12 + length;
    }
    ADD_FAILURE() << "no " << type << " chunk";
    return f;
}

void SetSize(std::uint8_t* ihdr, std::uint32_t w, std::uint32_t h) {
    for (int k = 0; k < 4; ++k) {
        ihdr[k] = std::uint8_t(w >> (24 - 8 * k));
        ihdr[4 + k] = std::uint8_t(h >> (24 - 8 * k));
    }
}

std::string Refusal(const Bytes& f) {
    try {
        DecodePng(f);
    } catch (const EInvalidGraphic& e) {
        return e.what();
    }
    return "read";
}

TEST(PngFile, RefusesFilesThatLie) {
    const Bytes good = FileOf(Small());
    const std::size_t idatEnd = [&] {
        // The end of the last IDAT chunk's data.
        const std::size_t iend = good.size() - 12;
        return iend - 4;
    }();
    struct Case {
        const char* name;
        Bytes file;
        const char* says;  // part of the message
    };
    const Case cases[] = {
        {"empty", {}, "not a PNG"},
        {"a bitmap", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}, "not a PNG"},
        {"signature only", kSignature, "cut short"},
        {"cut short in the picture data", Bytes(good.begin(), good.begin() + std::ptrdiff_t(idatEnd - 10)), ""},
        {"header damaged", WithChunk(good, "IHDR", [](std::uint8_t* d) { d[3] ^= 1; }, false), "CRC"},
        {"picture data damaged", WithChunk(good, "IDAT", [](std::uint8_t* d) { d[4] ^= 0x55; }), ""},
        {"zero width", WithChunk(good, "IHDR", [](std::uint8_t* d) { SetSize(d, 0, 8); }), ""},
        {"wider than a picture can be", WithChunk(good, "IHDR", [](std::uint8_t* d) { SetSize(d, 70000, 1); }), ""},
        {"far more pixels than its data holds", WithChunk(good, "IHDR", [](std::uint8_t* d) { SetSize(d, 65535, 30000); }), "too short"},
        {"colour at 4 bits", WithChunk(good, "IHDR", [](std::uint8_t* d) { d[8] = 4; }), ""},
        {"unknown colour type", WithChunk(good, "IHDR", [](std::uint8_t* d) { d[9] = 5; }), ""},
        {"palette without colour table", WithChunk(good, "IHDR", [](std::uint8_t* d) { d[9] = 3; }), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string refusal = Refusal(c.file);
        EXPECT_NE(refusal, "read");
        EXPECT_THAT(refusal, ::testing::HasSubstr(c.says));
    }
    EXPECT_EQ(ReadPngSize(WithChunk(good, "IHDR", [](std::uint8_t* d) { SetSize(d, 65535, 30000); })).height, 30000);
    EXPECT_THROW(ReadPngSize(Bytes(good.begin(), good.begin() + 20)), EInvalidGraphic);
}

TEST(PngFile, EveryCutInsideThePictureDataIsRefusedAndAMissingEndForgiven) {
    const Bytes good = FileOf(Small());
    const Bitmap whole = DecodePng(good);
    const std::size_t iend = good.size() - 12;
    for (std::size_t cut = 0; cut < iend - 4; ++cut)
        ASSERT_THROW(DecodePng(Bytes(good.begin(), good.begin() + std::ptrdiff_t(cut))), EInvalidGraphic) << cut;
    // All rows there: the CRC of the last chunk and the end chunk are not needed for them.
    EXPECT_EQ(DecodePng(Bytes(good.begin(), good.begin() + std::ptrdiff_t(iend))), whole);
}

TEST(PngFile, FormatFollowsTheExtensionOnDisk) {
    const testing::ScratchFolder dir("vimbrel-png");
    const std::string path = dir / "shot.PNG";
    const Bitmap picture = Pattern(20, 10, 32);
    WriteImageFile(picture, path);
    EXPECT_EQ(ReadImageFileBytes(path)[1], 'P');
    EXPECT_EQ(LoadImageFile(path, {true, false}), picture) << "the JPEG options change nothing";
    WriteFileBytes(path, {0x89, 'P', 'N', 'G'});
    EXPECT_THROW(LoadImageFile(path), EInvalidGraphic);
}

}  // namespace
}  // namespace vimbrel
