// Bitmap and JPEG files: round trips, what the decoder is asked for, and files that lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "workspace/bmp_file.h"
#include "workspace/image_file.h"
#include "workspace/jpeg_file.h"
#include "scratch_folder.h"
#include "test_pictures.h"

namespace vimbrel {
namespace {

using testing::Gradient;
using testing::Pattern;

std::uint32_t Get32(const std::vector<std::uint8_t>& f, std::size_t at) {
    return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (std::uint32_t(f[at + 3]) << 24);
}
void Put32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = std::uint8_t(v >> (8 * i));
}
void Put16(std::vector<std::uint8_t>& f, std::size_t at, std::uint16_t v) {
    f[at] = std::uint8_t(v);
    f[at + 1] = std::uint8_t(v >> 8);
}

TEST(BmpFile, RoundTripsAtEveryDepthWithRowPadding) {
    for (int bpp : {8, 24, 32}) {
        SCOPED_TRACE(bpp);
        const Bitmap original = Pattern(5, 3, bpp);
        const std::vector<std::uint8_t> file = EncodeBmp(original);
        EXPECT_EQ(DecodeBmp(file), original);
    }
}

TEST(BmpFile, WritesWindowsLayoutBottomUp) {
    const Bitmap picture = Pattern(2, 2, 24);
    const std::vector<std::uint8_t> f = EncodeBmp(picture);
    ASSERT_EQ(f.size(), 14u + 40 + 2 * 8);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Get32(f, 2), f.size());
    EXPECT_EQ(Get32(f, 10), 54u);
    EXPECT_EQ(Get32(f, 14), 40u);
    EXPECT_EQ(f[28], 24);                      // bits per pixel
    EXPECT_EQ(Get32(f, 30), 0u);               // uncompressed
    EXPECT_EQ(f[54], picture.Row(1)[0]);       // the bottom row comes first
    EXPECT_EQ(f[54 + 8], picture.Row(0)[0]);

    const std::vector<std::uint8_t> eight = EncodeBmp(Pattern(2, 2, 8));
    EXPECT_EQ(Get32(eight, 10), 54u + 256 * 4);  // a full colour table before the pixels
    EXPECT_EQ(eight[54 + 4], 16);                // second entry's blue
}

TEST(BmpFile, ShortColourTableKeepsItsLength) {
    Bitmap picture = Pattern(3, 2, 8);
    picture.Palette().resize(16);
    const std::vector<std::uint8_t> f = EncodeBmp(picture);
    EXPECT_EQ(Get32(f, 46), 16u);
    EXPECT_EQ(DecodeBmp(f), picture);
}

// A file written by hand the way other programs write them.
std::vector<std::uint8_t> HandMade(int width, int height, int bpp, std::uint32_t compression,
                                   std::vector<std::uint32_t> table, const std::vector<std::uint8_t>& rows,
                                   std::uint32_t headerSize = 40) {
    const bool masksAfter = compression == 3 && headerSize == 40;
    const std::size_t offset = 14 + headerSize + (masksAfter ? 12 : 0) + 4 * table.size();
    std::vector<std::uint8_t> f(offset, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 10, std::uint32_t(offset));
    Put32(f, 14, headerSize);
    Put32(f, 18, std::uint32_t(width));
    Put32(f, 22, std::uint32_t(height));
    Put16(f, 26, 1);
    Put16(f, 28, std::uint16_t(bpp));
    Put32(f, 30, compression);
    Put32(f, 46, bpp <= 8 ? std::uint32_t(table.size()) : 0);
    std::size_t at = 14 + headerSize + (masksAfter ? 12 : 0);
    if (compression == 3) table.clear();
    for (std::uint32_t entry : table) {
        Put32(f, at, entry);
        at += 4;
    }
    f.insert(f.end(), rows.begin(), rows.end());
    Put32(f, 2, std::uint32_t(f.size()));
    return f;
}

TEST(BmpFile, ReadsOtherProgramsLayouts) {
    {
        SCOPED_TRACE("top-down 24 bits");
        const auto f = HandMade(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0});
        const Bitmap b = DecodeBmp(f);
        EXPECT_EQ(b.Height(), 2);
        EXPECT_EQ(b.PixelColour(0, 0), (RgbQuad{1, 2, 3, 0}));
        EXPECT_EQ(b.PixelColour(0, 1), (RgbQuad{4, 5, 6, 0}));
    }
    {
        SCOPED_TRACE("1 bit, bottom-up");
        const auto f = HandMade(10, 2, 1, 0, {0x000000, 0xFFFFFF}, {0b10000000, 0b01000000, 0, 0, 0b00000001, 0, 0, 0});
        const Bitmap b = DecodeBmp(f);
        ASSERT_EQ(b.BitsPerPixel(), 8);
        EXPECT_EQ(b.Row(1)[0], 1);  // first file row is the bottom one
        EXPECT_EQ(b.Row(1)[9], 1);
        EXPECT_EQ(b.Row(1)[1], 0);
        EXPECT_EQ(b.Row(0)[7], 1);
        EXPECT_EQ(b.PixelColour(0, 1), (RgbQuad{255, 255, 255, 0}));
    }
    {
        SCOPED_TRACE("4 bits");
        const auto f = HandMade(3, 1, 4, 0, std::vector<std::uint32_t>(16, 0x102030), {0x12, 0xF0, 0, 0});
        const Bitmap b = DecodeBmp(f);
        EXPECT_EQ(b.Row(0)[0], 1);
        EXPECT_EQ(b.Row(0)[1], 2);
        EXPECT_EQ(b.Row(0)[2], 15);
    }
    {
        SCOPED_TRACE("16 bits 5-5-5");
        // white, pure red
        const auto f = HandMade(2, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C});
        const Bitmap b = DecodeBmp(f);
        ASSERT_EQ(b.BitsPerPixel(), 24);
        EXPECT_EQ(b.PixelColour(0, 0), (RgbQuad{255, 255, 255, 0}));
        EXPECT_EQ(b.PixelColour(1, 0), (RgbQuad{0, 0, 255, 0}));
    }
    {
        SCOPED_TRACE("16 bits 5-6-5 bit fields");
        auto f = HandMade(2, 1, 16, 3, {}, {0x1F, 0x00, 0xE0, 0x07});
        Put32(f, 54, 0xF800);
        Put32(f, 58, 0x07E0);
        Put32(f, 62, 0x001F);
        const Bitmap b = DecodeBmp(f);
        EXPECT_EQ(b.PixelColour(0, 0), (RgbQuad{255, 0, 0, 0}));
        EXPECT_EQ(b.PixelColour(1, 0), (RgbQuad{0, 255, 0, 0}));
    }
    {
        SCOPED_TRACE("24 bits with an advisory colour count");
        const Bitmap picture = Pattern(3, 2, 24);
        std::vector<std::uint8_t> f = EncodeBmp(picture);
        Put32(f, 46, 300);
        EXPECT_EQ(DecodeBmp(f), picture);
    }
    {
        SCOPED_TRACE("32 bits, bit fields in a version 5 header");
        auto f = HandMade(1, 1, 32, 3, {}, {0x11, 0x22, 0x33, 0x44}, 124);
        Put32(f, 54, 0x000000FF);  // red in the lowest byte
        Put32(f, 58, 0x0000FF00);
        Put32(f, 62, 0x00FF0000);
        const Bitmap b = DecodeBmp(f);
        ASSERT_EQ(b.BitsPerPixel(), 32);
        EXPECT_EQ(b.PixelColour(0, 0), (RgbQuad{0x33, 0x22, 0x11, 0}));
    }
}

// The pixel rows of a file, from its pixel offset on.
std::vector<std::uint8_t> PixelBytes(const std::vector<std::uint8_t>& f) {
    return std::vector<std::uint8_t>(f.begin() + std::ptrdiff_t(Get32(f, 10)), f.end());
}

TEST(BmpFile, WritesBackAtTheFilesOwnDepthWithTableAndMasks) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        std::vector<std::uint32_t> masks;  // expected after the header, none without bit fields
    };
    auto withMasks = [](std::vector<std::uint8_t> f, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        Put32(f, 54, r);
        Put32(f, 58, g);
        Put32(f, 62, b);
        return f;
    };
    const Case cases[] = {
        {"1 bit", HandMade(10, 2, 1, 0, {0x000000, 0xFFFFFF}, {0b10000000, 0b01000000, 0, 0, 0b00000001, 0, 0, 0}), {}},
        {"4 bits, short table", HandMade(3, 2, 4, 0, {0x102030, 0x405060, 0x708090}, {0x12, 0x00, 0, 0, 0x21, 0x20, 0, 0}), {}},
        {"16 bits 5-5-5", HandMade(2, 1, 16, 0, {}, {0xFF, 0x7F, 0x21, 0x04}), {}},
        {"16 bits 5-6-5 bit fields", withMasks(HandMade(3, 1, 16, 3, {}, {0x1F, 0x00, 0xE0, 0x07, 0x45, 0xA3, 0, 0}), 0xF800, 0x07E0, 0x001F),
         {0xF800, 0x07E0, 0x001F}},
        {"32 bits, red in the lowest byte", withMasks(HandMade(1, 1, 32, 3, {}, {0x11, 0x22, 0x33, 0x00}), 0xFF, 0xFF00, 0xFF0000),
         {0xFF, 0xFF00, 0xFF0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap read = DecodeBmp(c.file);
        const std::vector<std::uint8_t> written = EncodeBmp(read);
        EXPECT_EQ(written[28], c.file[28]);                         // bits per pixel
        EXPECT_EQ(Get32(written, 30), c.masks.empty() ? 0u : 3u);   // bit fields only where they were
        for (std::size_t i = 0; i < c.masks.size(); ++i) EXPECT_EQ(Get32(written, 54 + 4 * i), c.masks[i]);
        EXPECT_EQ(Get32(written, 10), Get32(c.file, 10));           // same table and masks before the pixels
        EXPECT_EQ(std::vector<std::uint8_t>(written.begin() + 54, written.begin() + Get32(written, 10)),
                  std::vector<std::uint8_t>(c.file.begin() + 54, c.file.begin() + Get32(c.file, 10)));
        EXPECT_EQ(PixelBytes(written), PixelBytes(c.file));
        EXPECT_EQ(DecodeBmp(written), read);
    }
}

TEST(BmpFile, PictureThatOutgrewItsFileDepthIsWrittenAtItsOwn) {
    Bitmap picture = DecodeBmp(HandMade(3, 1, 4, 0, std::vector<std::uint32_t>(16, 0x102030), {0x12, 0xF0, 0, 0}));
    ASSERT_EQ(picture.FileFormat().bitsPerPixel, 4);
    picture.Palette().resize(256);
    picture.Row(0)[1] = 200;  // an index four bits cannot hold
    const std::vector<std::uint8_t> f = EncodeBmp(picture);
    EXPECT_EQ(f[28], 8);
    EXPECT_EQ(DecodeBmp(f).Row(0)[1], 200);
    // Masks that are not one run of bits each could not give the colours back.
    auto f16 = HandMade(3, 1, 16, 3, {}, {0x1F, 0x00, 0xE0, 0x57, 0x45, 0xA3, 0, 0});
    Put32(f16, 54, 0);
    Put32(f16, 58, 0x5200);
    Put32(f16, 62, 0x001F);
    const Bitmap odd = DecodeBmp(f16);
    const std::vector<std::uint8_t> oddWritten = EncodeBmp(odd);
    EXPECT_EQ(oddWritten[28], 24);
    EXPECT_EQ(DecodeBmp(oddWritten).PixelColour(1, 0), odd.PixelColour(1, 0));
    // What the program makes itself keeps its depth, with no masks.
    const std::vector<std::uint8_t> own = EncodeBmp(Pattern(2, 2, 32));
    EXPECT_EQ(own[28], 32);
    EXPECT_EQ(Get32(own, 30), 0u);
}

TEST(BmpFile, RefusesFilesThatLie) {
    const std::vector<std::uint8_t> good = EncodeBmp(Pattern(4, 4, 24));
    const std::vector<std::uint8_t> good8 = EncodeBmp(Pattern(4, 4, 8));
    struct Case {
        const char* name;
        std::function<std::vector<std::uint8_t>()> make;
    };
    auto patched = [](std::vector<std::uint8_t> f, std::size_t at, std::uint32_t v) {
        Put32(f, at, v);
        return f;
    };
    auto cut = [](std::vector<std::uint8_t> f, std::size_t n) {
        f.resize(n);
        return f;
    };
    const Case cases[] = {
        {"empty", [] { return std::vector<std::uint8_t>{}; }},
        {"file header only", [&] { return cut(good, 14); }},
        {"info header cut", [&] { return cut(good, 50); }},
        {"pixels cut short", [&] { return cut(good, good.size() - 1); }},
        {"colour table cut", [&] { return cut(good8, 54 + 100); }},
        {"no signature", [&] { auto f = good; f[0] = 'X'; return f; }},
        {"zero width", [&] { return patched(good, 18, 0); }},
        {"negative width", [&] { return patched(good, 18, std::uint32_t(-4)); }},
        {"zero height", [&] { return patched(good, 22, 0); }},
        {"most negative height", [&] { return patched(good, 22, std::uint32_t(INT_MIN)); }},
        {"huge dimensions", [&] { return patched(patched(good, 18, 65535), 22, 65535); }},
        {"wider than any picture", [&] { return patched(good, 18, 70000); }},
        {"offset beyond the end", [&] { return patched(good, 10, 0xFFFFFFF0); }},
        {"offset inside the header", [&] { return patched(good, 10, 20); }},
        {"offset inside the colour table", [&] { return patched(good8, 10, 60); }},
        {"more colours than 8 bits hold", [&] { return patched(good8, 46, 300); }},
        {"colour count near 4 G", [&] { return patched(good8, 46, 0x40000001); }},
        {"header size beyond the file", [&] { return patched(good, 14, 100000); }},
        {"header size too small", [&] { return patched(good, 14, 16); }},
        {"odd depth", [&] { auto f = good; Put16(f, 28, 7); return f; }},
        {"run-length compressed at 24 bits", [&] { return patched(good, 30, 1); }},
        {"bit fields at 24 bits", [&] { return patched(good, 30, 3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> f = c.make();
        EXPECT_THROW(DecodeBmp(f), EInvalidGraphic);
    }
}

// Offset of the first byte after the marker 0xFF m, or npos.
std::size_t FindMarker(const std::vector<std::uint8_t>& f, std::uint8_t m) {
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] == m) return i + 2;
    return std::string::npos;
}

TEST(JpegFile, WritesBaselineColourAtQuality90) {
    const std::vector<std::uint8_t> f = EncodeJpeg(Gradient(64, 48));
    ASSERT_GT(f.size(), 4u);
    EXPECT_EQ(f[0], 0xFF);
    EXPECT_EQ(f[1], 0xD8);
    EXPECT_EQ(FindMarker(f, 0xC2), std::string::npos);  // not progressive
    const std::size_t sof = FindMarker(f, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    EXPECT_EQ((f[sof + 3] << 8) | f[sof + 4], 48);
    EXPECT_EQ((f[sof + 5] << 8) | f[sof + 6], 64);
    EXPECT_EQ(f[sof + 7], 3);  // three components, never greyscale
    // The first luminance quantiser entry is 16 at quality 50, scaled by (200 - 2q)% here.
    const std::size_t dqt = FindMarker(f, 0xDB);
    ASSERT_NE(dqt, std::string::npos);
    EXPECT_EQ(f[dqt + 2], 0);  // 8-bit table 0
    EXPECT_EQ(f[dqt + 3], (16 * (200 - 2 * kJpegQuality) + 50) / 100);
}

TEST(JpegFile, DecodesFullScaleColour) {
    const Bitmap original = Gradient(64, 48);
    const Bitmap b = DecodeJpeg(EncodeJpeg(original));
    ASSERT_EQ(b.Width(), 64);
    ASSERT_EQ(b.Height(), 48);
    ASSERT_EQ(b.BitsPerPixel(), 24);
    int worst = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const RgbQuad a = original.PixelColour(x, y), c = b.PixelColour(x, y);
            worst = std::max({worst, std::abs(a.red - c.red), std::abs(a.green - c.green), std::abs(a.blue - c.blue)});
        }
    EXPECT_LE(worst, 12);
}

TEST(JpegFile, PaletteAndPaddedSourcesAreSpreadToColour) {
    for (int bpp : {8, 32}) {
        SCOPED_TRACE(bpp);
        const Bitmap original = Pattern(9, 5, bpp);
        const Bitmap b = DecodeJpeg(EncodeJpeg(original));
        EXPECT_EQ(b.Width(), 9);
        EXPECT_EQ(b.Height(), 5);
        const RgbQuad a = original.PixelColour(4, 2), c = b.PixelColour(4, 2);
        EXPECT_NEAR(a.red, c.red, 60);
        EXPECT_NEAR(a.blue, c.blue, 60);
    }
}

TEST(JpegFile, QuantisesGreysAndPaletteDisplays) {
    const std::vector<std::uint8_t> f = EncodeJpeg(Gradient(64, 48));
    struct Case {
        const char* name;
        JpegReadOptions options;
        bool grey;
    };
    for (const Case& c : {Case{"greys", {true, true}, true}, Case{"greys on a palette display", {true, false}, true},
                          Case{"colour on a palette display", {false, false}, false}}) {
        SCOPED_TRACE(c.name);
        const Bitmap b = DecodeJpeg(f, c.options);
        ASSERT_EQ(b.BitsPerPixel(), 8);
        EXPECT_EQ(b.Width(), 64);
        EXPECT_LE(b.Palette().size(), std::size_t(kJpegQuantisedColours));
        EXPECT_GT(b.Palette().size(), 8u);
        std::set<int> used;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) used.insert(b.Row(y)[x]);
        EXPECT_LT(*used.rbegin(), int(b.Palette().size()));
        const bool allGrey = std::all_of(b.Palette().begin(), b.Palette().end(),
                                         [](RgbQuad q) { return q.red == q.green && q.green == q.blue; });
        EXPECT_EQ(allGrey, c.grey);
    }
}

TEST(JpegFile, RefusesDamagedData) {
    const std::vector<std::uint8_t> good = EncodeJpeg(Gradient(64, 48));
    const std::size_t sof = FindMarker(good, 0xC0);
    auto withSize = [&](std::uint16_t w, std::uint16_t h) {
        auto f = good;
        f[sof + 3] = std::uint8_t(h >> 8);
        f[sof + 4] = std::uint8_t(h);
        f[sof + 5] = std::uint8_t(w >> 8);
        f[sof + 6] = std::uint8_t(w);
        return f;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"empty", {}},
        {"not a JPEG", {'B', 'M', 0, 0, 0, 0}},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(sof))},
        {"cut short in the picture data", std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2))},
        {"zero width", withSize(0, 48)},
        {"impossible size", withSize(65000, 65000)},
        {"far more pixels than its data holds", withSize(20000, 20000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeJpeg(c.data), EInvalidGraphic);
        EXPECT_THROW(DecodeJpeg(c.data, {true, false}), EInvalidGraphic);
    }
    EXPECT_EQ(ReadJpegSize(withSize(65000, 65000)).width, 65000);
}

TEST(JpegFile, MissingEndMarkerAloneIsForgiven) {
    const Bitmap original = Gradient(40, 24);
    std::vector<std::uint8_t> f = EncodeJpeg(original);
    f.resize(f.size() - 2);
    EXPECT_EQ(DecodeJpeg(f), DecodeJpeg(EncodeJpeg(original)));
    f.resize(f.size() - 40);  // now picture data is missing too
    EXPECT_THROW(DecodeJpeg(f), EInvalidGraphic);
}

TEST(JpegFile, EmptyPictureCannotBeWritten) { EXPECT_THROW(EncodeJpeg(Bitmap(0, 0, 24)), EInOutError); }

class ImageFileOnDisk : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return scratch_ / name; }
    std::vector<std::uint8_t> Bytes(const char* name) const { return ReadImageFileBytes(Path(name)); }

    testing::ScratchFolder scratch_{"vimbrel-imgfile"};
    const std::filesystem::path& dir_ = scratch_.path();
};

TEST_F(ImageFileOnDisk, FormatFollowsTheExtension) {
    const Bitmap picture = Pattern(6, 4, 24);
    WriteImageFile(picture, Path("a.BMP"));
    WriteImageFile(picture, Path("b.jpeg"));
    WriteImageFile(picture, Path("c.txt"));  // only .bmp selects the bitmap writer
    EXPECT_EQ(Bytes("a.BMP")[0], 'B');
    EXPECT_EQ(Bytes("b.jpeg")[0], 0xFF);
    EXPECT_EQ(Bytes("c.txt")[0], 0xFF);

    EXPECT_EQ(LoadImageFile(Path("a.BMP")), picture);
    const std::optional<Bitmap> jpeg = LoadImageFile(Path("b.jpeg"), {true, true});
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->BitsPerPixel(), 8);
    EXPECT_EQ(LoadImageFile(Path("c.txt")), std::nullopt);
}

TEST_F(ImageFileOnDisk, ReplacesAnExistingFileWhole) {
    WriteImageFile(Pattern(40, 40, 24), Path("x.bmp"));
    const Bitmap small = Pattern(2, 1, 24);
    WriteImageFile(small, Path("x.bmp"));
    EXPECT_EQ(Bytes("x.bmp").size(), 14u + 40 + 8);
    EXPECT_EQ(LoadImageFile(Path("x.bmp")), small);
}

TEST_F(ImageFileOnDisk, DamagedAndMissingFilesRaiseTheirOwnErrors) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(Gradient(32, 32));
    WriteFileBytes(Path("cut.jpg"), std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 300));
    WriteFileBytes(Path("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_THROW(LoadImageFile(Path("cut.jpg")), EInvalidGraphic);
    EXPECT_THROW(LoadImageFile(Path("text.bmp")), EInvalidGraphic);
    EXPECT_THROW(LoadImageFile(Path("missing.bmp")), EInOutError);
    EXPECT_THROW(WriteImageFile(Pattern(2, 2, 24), Path("no-such-folder/x.bmp")), EInOutError);
    EXPECT_STREQ(kUnreadableImageMessage, "Unable to read or decrypt the image");
}

// Everything in the test folder, so left-over temporary files show.
std::vector<std::string> Names(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ImageFileOnDisk, FailedWriteLeavesTheOldFileWhole) {
    const Bitmap old = Pattern(4, 4, 24);
    WriteImageFile(old, Path("keep.bmp"));
    // A file-size limit makes the write fail part-way, as a full disk would; the child
    // reports what it saw through its exit code.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        int code = 1;
        try {
            WriteImageFile(Pattern(200, 200, 24), Path("keep.bmp"));
        } catch (const EInOutError& e) {
            code = std::string(e.what()) == "Error writing to " + Path("keep.bmp") ? 0 : 2;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write did not fail, 2: another message";
    EXPECT_EQ(LoadImageFile(Path("keep.bmp")), old);
    EXPECT_EQ(Names(dir_), std::vector<std::string>{"keep.bmp"});
}

TEST_F(ImageFileOnDisk, NothingPlantedIsWrittenThroughOrReplaced) {
    namespace fs = std::filesystem;
    const Bitmap picture = Pattern(3, 3, 24);
    WriteFileBytes(Path("outside"), {'o', 'k'});
    // A link where the temporary file would go, and one in the target's place.
    fs::create_symlink(Path("outside"), Path("a.bmp.part"));
    WriteImageFile(picture, Path("a.bmp"));
    fs::create_symlink(Path("outside"), Path("b.jpg"));
    WriteImageFile(picture, Path("b.jpg"));
    EXPECT_EQ(Bytes("outside"), (std::vector<std::uint8_t>{'o', 'k'}));
    EXPECT_EQ(LoadImageFile(Path("a.bmp")), picture);
    EXPECT_FALSE(fs::is_symlink(Path("b.jpg")));
    EXPECT_EQ(Bytes("b.jpg")[0], 0xFF);
    EXPECT_EQ(Names(dir_), (std::vector<std::string>{"a.bmp", "a.bmp.part", "b.jpg", "outside"}));

    // A folder in the target's place stays, empty or not.
    fs::create_directory(Path("folder.bmp"));
    EXPECT_THROW(WriteImageFile(picture, Path("folder.bmp")), EInOutError);
    EXPECT_TRUE(fs::is_directory(Path("folder.bmp")));
    EXPECT_EQ(Names(dir_).size(), 5u);
}

}  // namespace
}  // namespace vimbrel
