// Run-length compressed and OS/2 bitmaps, built byte by byte as other programs write them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workspace/bmp_file.h"
#include "workspace/image_errors.h"

namespace vimbrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<std::vector<int>>;  // colour indexes, top row first

void Put(Bytes& f, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.push_back(std::uint8_t(v >> (8 * i)));
}

Bytes FileOf(const Bytes& header, const Bytes& table, const Bytes& pixels) {
    const std::uint32_t offset = std::uint32_t(14 + header.size() + table.size());
    Bytes f{'B', 'M'};
    Put(f, offset + std::uint32_t(pixels.size()), 4);
    Put(f, 0, 4);
    Put(f, offset, 4);
    f.insert(f.end(), header.begin(), header.end());
    f.insert(f.end(), table.begin(), table.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

Bytes InfoHeader(int width, int height, int bits, std::uint32_t compression, std::uint32_t colours) {
    Bytes h;
    for (std::uint32_t v : {40u, std::uint32_t(width), std::uint32_t(height)}) Put(h, v, 4);
    Put(h, 1, 2);
    Put(h, std::uint32_t(bits), 2);
    Put(h, compression, 4);
    for (std::uint32_t v : {0u, 0u, 0u, colours, 0u}) Put(h, v, 4);
    return h;
}

Bytes CoreHeader(int width, int height, int bits) {
    Bytes h;
    Put(h, 12, 4);
    for (int v : {width, height, 1, bits}) Put(h, std::uint32_t(v), 2);
    return h;
}

// Distinct colours: entry i is blue i, green 255 - i, red 3 * i.
Bytes Table(int entries, int entrySize) {
    Bytes t;
    for (int i = 0; i < entries; ++i) {
        t.insert(t.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(3 * i)});
        if (entrySize == 4) t.push_back(0);
    }
    return t;
}

Bytes RleFile(int width, int height, int bits, const Bytes& codes) {
    return FileOf(InfoHeader(width, height, bits, bits == 8 ? 1 : 2, 16), Table(16, 4), codes);
}

Rows IndexesOf(const Bitmap& b) {
    Rows rows(std::size_t(b.Height()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) rows[std::size_t(y)].push_back(b.Row(y)[x]);
    return rows;
}

struct RleCase {
    const char* name;
    int width, height, bits;
    Bytes codes;
    Rows rows;
};

TEST(BmpRle, DecodesEveryCode) {
    const RleCase cases[] = {
        {"encoded runs", 5, 2, 8, {3, 7, 2, 9, 0, 1}, {{0, 0, 0, 0, 0}, {7, 7, 7, 9, 9}}},
        {"odd absolute run and its pad byte", 5, 1, 8, {0, 3, 1, 2, 3, 0, 2, 5, 0, 1}, {{1, 2, 3, 5, 5}}},
        {"even absolute run", 5, 1, 8, {0, 4, 1, 2, 3, 4, 1, 6, 0, 1}, {{1, 2, 3, 4, 6}}},
        {"end of line goes up a row", 4, 3, 8, {2, 1, 0, 0, 1, 2, 0, 0, 3, 3, 0, 1},
         {{3, 3, 3, 0}, {2, 0, 0, 0}, {1, 1, 0, 0}}},
        {"delta skips pixels, which stay 0", 5, 2, 8, {1, 4, 0, 2, 2, 1, 1, 5, 0, 1},
         {{0, 0, 0, 5, 0}, {4, 0, 0, 0, 0}}},
        {"delta to the row end, then end of line", 3, 2, 8, {1, 4, 0, 2, 2, 0, 0, 0, 1, 6, 0, 1},
         {{6, 0, 0}, {4, 0, 0}}},
        {"end of bitmap ends early; what follows is ignored", 3, 2, 8, {3, 8, 0, 1, 3, 9},
         {{0, 0, 0}, {8, 8, 8}}},
        {"end of line after the last row, then end of bitmap", 2, 2, 8, {2, 1, 0, 0, 2, 2, 0, 0, 0, 1},
         {{2, 2}, {1, 1}}},
        {"data ending after the last row's end of line", 2, 2, 8, {2, 1, 0, 0, 2, 2, 0, 0}, {{2, 2}, {1, 1}}},
        {"4 bits: an encoded run alternates its two colours", 5, 1, 4, {5, 0x12, 0, 1}, {{1, 2, 1, 2, 1}}},
        {"4 bits: absolute run of 5 takes 3 bytes and a pad byte", 6, 1, 4, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x66, 0, 1},
         {{1, 2, 3, 4, 5, 6}}},
        {"4 bits: absolute run of 3 needs no pad", 6, 1, 4, {0, 3, 0xAB, 0xC0, 3, 0xDE, 0, 1},
         {{10, 11, 12, 13, 14, 13}}},
        {"4 bits: delta and end of line", 6, 3, 4, {2, 0x9F, 0, 2, 1, 1, 1, 0x30, 0, 0, 1, 0x40, 0, 1},
         {{4, 0, 0, 0, 0, 0}, {0, 0, 0, 3, 0, 0}, {9, 15, 0, 0, 0, 0}}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap b = DecodeBmp(RleFile(c.width, c.height, c.bits, c.codes));
        ASSERT_EQ(b.BitsPerPixel(), 8);
        EXPECT_EQ(IndexesOf(b), c.rows);
        EXPECT_EQ(b.Palette().size(), 16u);
        EXPECT_EQ(b.PixelColour(0, c.height - 1), (RgbQuad{std::uint8_t(c.rows.back()[0]),
                                                             std::uint8_t(255 - c.rows.back()[0]),
                                                             std::uint8_t(3 * c.rows.back()[0]), 0}));
    }
}

TEST(BmpRle, RefusesRunsOutsideThePictureAndCutData) {
    const RleCase cases[] = {
        {"encoded run past the row end", 5, 2, 8, {6, 1, 0, 1}, {}},
        {"absolute run past the row end", 5, 2, 8, {0, 6, 1, 2, 3, 4, 5, 6, 0, 1}, {}},
        {"a run after the row is full", 5, 2, 8, {5, 1, 1, 1, 0, 1}, {}},
        {"4 bits: absolute run past the row end", 6, 1, 4, {0, 7, 0x12, 0x34, 0x56, 0x70, 0, 1}, {}},
        {"4 bits: encoded run past the row end", 6, 1, 4, {7, 0x12, 0, 1}, {}},
        {"delta past the last row", 5, 3, 8, {0, 2, 0, 3, 0, 1}, {}},
        {"delta past the row end", 5, 3, 8, {2, 1, 0, 2, 4, 0, 0, 1}, {}},
        {"end of line past the last row", 2, 2, 8, {0, 0, 0, 0, 0, 0, 0, 1}, {}},
        {"run after the last row", 2, 2, 8, {0, 0, 0, 0, 1, 1, 0, 1}, {}},
        {"no data", 2, 2, 8, {}, {}},
        {"cut inside an encoded run", 5, 1, 8, {5}, {}},
        {"cut inside an absolute run", 5, 1, 8, {0, 5, 1, 2}, {}},
        {"4 bits: cut inside an absolute run", 6, 1, 4, {0, 5, 0x12}, {}},
        {"cut inside a delta", 5, 2, 8, {0, 2, 1}, {}},
        {"ends while rows remain", 2, 2, 8, {2, 1, 0, 0}, {}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeBmp(RleFile(c.width, c.height, c.bits, c.codes)), EInvalidGraphic);
    }
}

TEST(BmpRle, RefusesHeadersThatDoNotFit) {
    const Bytes end{0, 1};
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"top-down rows", FileOf(InfoHeader(2, -2, 8, 1, 16), Table(16, 4), end)},
        {"8-bit codes at 4 bits", FileOf(InfoHeader(2, 2, 4, 1, 16), Table(16, 4), end)},
        {"4-bit codes at 8 bits", FileOf(InfoHeader(2, 2, 8, 2, 16), Table(16, 4), end)},
        {"8-bit codes at 24 bits", FileOf(InfoHeader(2, 2, 24, 1, 0), {}, end)},
        {"pixel offset beyond the end", [&] {
             Bytes f = RleFile(2, 2, 8, end);
             f[10] = 0xFF;
             return f;
         }()},
        // A few bytes must not make the reader allocate gigabytes.
        {"64 million pixels from two bytes", RleFile(8192, 8192, 8, end)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeBmp(c.file), EInvalidGraphic);
    }
}

TEST(BmpRle, LargePictureMayBeLeftAlmostBlank) {
    const Bitmap b = DecodeBmp(RleFile(4096, 4096, 8, {2, 5, 0, 1}));
    EXPECT_EQ(b.Row(4095)[1], 5);
    EXPECT_EQ(b.Row(4095)[2], 0);
    EXPECT_EQ(b.Row(0)[4095], 0);
}

// Rows of any bytes at this depth: every byte is a valid pixel.
Bytes AnyRows(int width, int height, int bits) {
    Bytes rows(Bitmap::StrideFor(width, bits) * std::size_t(height));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::uint8_t(i * 37 + 11);
    return rows;
}

TEST(BmpOs2, CoreHeaderReadsLikeTheInfoHeaderAtEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const int entries = bits <= 8 ? 1 << bits : 0;
        const Bytes rows = AnyRows(5, 3, bits);
        const Bitmap core = DecodeBmp(FileOf(CoreHeader(5, 3, bits), Table(entries, 3), rows));
        const Bitmap info = DecodeBmp(FileOf(InfoHeader(5, 3, bits, 0, 0), Table(entries, 4), rows));
        EXPECT_EQ(core, info);
        ASSERT_EQ(core.Width(), 5);
        ASSERT_EQ(core.Height(), 3);
        EXPECT_EQ(core.Palette().size(), std::size_t(bits <= 8 ? entries : 0));
    }
}

TEST(BmpOs2, ColoursAreThreeBytesAndTheFirstRowIsTheBottom) {
    // 2 x 2 at 8 bits: bottom row 1 2, top row 255 0.
    const Bitmap b = DecodeBmp(FileOf(CoreHeader(2, 2, 8), Table(256, 3), {1, 2, 0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(b.PixelColour(0, 1), (RgbQuad{1, 254, 3, 0}));
    EXPECT_EQ(b.PixelColour(1, 1), (RgbQuad{2, 253, 6, 0}));
    EXPECT_EQ(b.PixelColour(0, 0), (RgbQuad{255, 0, 253, 0}));
    // Sizes are 16 bits: a width of 300 is not read together with the height.
    const Bitmap wide = DecodeBmp(FileOf(CoreHeader(300, 1, 24), {}, AnyRows(300, 1, 24)));
    EXPECT_EQ(wide.Width(), 300);
    EXPECT_EQ(wide.Height(), 1);
}

TEST(BmpOs2, RefusesWhatTheCoreHeaderCannotHold) {
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"16 bits", FileOf(CoreHeader(2, 2, 16), {}, AnyRows(2, 2, 16))},
        {"32 bits", FileOf(CoreHeader(2, 2, 32), {}, AnyRows(2, 2, 32))},
        {"zero width", FileOf(CoreHeader(0, 2, 24), {}, AnyRows(2, 2, 24))},
        {"zero height", FileOf(CoreHeader(2, 0, 24), {}, AnyRows(2, 2, 24))},
        {"colour table cut", [] {
             Bytes f = FileOf(CoreHeader(2, 2, 8), Table(256, 3), AnyRows(2, 2, 8));
             f.resize(14 + 12 + 500);
             return f;
         }()},
        {"pixels cut short", [] {
             Bytes f = FileOf(CoreHeader(4, 4, 4), Table(16, 3), AnyRows(4, 4, 4));
             f.pop_back();
             return f;
         }()},
        {"header cut", [] {
             Bytes f = FileOf(CoreHeader(2, 2, 24), {}, {});
             f.resize(14 + 8);
             return f;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeBmp(c.file), EInvalidGraphic);
    }
}

}  // namespace
}  // namespace vimbrel

namespace vimbrel {
namespace {

// Packed DIBs as other programs put them on the clipboard: no file header, the pixels
// right after the header, its masks and its colour table.
Bytes Packed(const Bytes& header, const Bytes& extra, const Bytes& pixels) {
    Bytes d = header;
    d.insert(d.end(), extra.begin(), extra.end());
    d.insert(d.end(), pixels.begin(), pixels.end());
    return d;
}

// A BITMAPV5HEADER of a 32-bit picture with its masks inside the header (red, green,
// blue, alpha), as CF_DIBV5 holds one.
Bytes V5Header(int width, int height) {
    Bytes h = InfoHeader(width, height, 32, 3, 0);
    h[0] = 124;
    for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put(h, mask, 4);
    h.resize(124, 0);
    return h;
}

TEST(ClipboardDib, EveryHeaderVersionFindsItsPixelsAfterItsMasksAndColours) {
    // Two pixels, bottom row first: (10,20,30) with alpha 40 and (50,60,70) with alpha 80.
    const Bytes bgra = {30, 20, 10, 40, 70, 60, 50, 80};
    const Bitmap v5 = DecodeDib(Packed(V5Header(2, 1), {}, bgra));
    EXPECT_EQ(v5.BitsPerPixel(), 32);
    EXPECT_EQ(v5.PixelColour(1, 0), (RgbQuad{70, 60, 50, 0}));

    Bytes masks;
    for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu}) Put(masks, m, 4);
    EXPECT_EQ(DecodeDib(Packed(InfoHeader(2, 1, 32, 3, 0), masks, bgra)).PixelColour(0, 0), (RgbQuad{30, 20, 10, 0}))
        << "masks after a 40-byte header";

    Bytes advisory(8, 0xEE);  // two colours a 32-bit picture may carry: the pixels follow them
    EXPECT_EQ(DecodeDib(Packed(InfoHeader(2, 1, 32, 0, 2), advisory, bgra)).PixelColour(1, 0), (RgbQuad{70, 60, 50, 80}));

    const Bytes table = {0, 0, 255, 0, 0, 255, 0, 0};  // red, green
    const Bitmap indexed = DecodeDib(Packed(InfoHeader(2, 2, 8, 0, 2), table, {1, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(indexed.PixelColour(0, 1), (RgbQuad{0, 255, 0, 0})) << "the first row is the bottom";
    EXPECT_EQ(indexed.PixelColour(1, 0), (RgbQuad{0, 255, 0, 0}));
    EXPECT_EQ(indexed.PixelColour(0, 0), (RgbQuad{0, 0, 255, 0}));
}

TEST(ClipboardDib, RefusesWhatItsBytesCannotHold) {
    const Bytes bgra = {30, 20, 10, 40, 70, 60, 50, 80};
    EXPECT_THROW(DecodeDib(Packed(V5Header(2, 2), {}, bgra)), EInvalidGraphic) << "a row short";
    const Bytes v5 = V5Header(2, 1);
    EXPECT_THROW(DecodeDib(Bytes(v5.begin(), v5.begin() + 60)), EInvalidGraphic)
        << "a header cut short";
    EXPECT_THROW(DecodeDib(Packed(InfoHeader(2, 1, 32, 0, 1u << 30), {}, bgra)), EInvalidGraphic)
        << "an advisory table beyond the end";
    EXPECT_THROW(DecodeDib(Bytes{}), EInvalidGraphic);
}

TEST(ClipboardDib, WhatCopyPutsThereReadsBackAtItsDepth) {
    Bitmap grey(3, 2, 8);
    grey.Palette()[1] = RgbQuad{9, 8, 7, 0};
    grey.Row(1)[2] = 1;
    const Bitmap fromGrey = DecodeDib(EncodeDib(grey));
    EXPECT_EQ(fromGrey.BitsPerPixel(), 24) << "8-bit pictures go as 24 bits";
    EXPECT_EQ(fromGrey.PixelColour(2, 1), (RgbQuad{9, 8, 7, 0}));
    Bitmap deep(3, 2, 32);
    deep.SetPixelColour(1, 1, RgbQuad{1, 2, 3, 4});
    EXPECT_EQ(DecodeDib(EncodeDib(deep)), deep);
}

}  // namespace
}  // namespace vimbrel
