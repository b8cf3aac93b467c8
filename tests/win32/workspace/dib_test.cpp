// The Bitmap/GDI bridge against real GDI: pixels reach GDI unchanged at every depth, come
// back through GetDIBits, and stretching repeats whole pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "workspace/bmp_file.h"
#include "workspace/image_file.h"
#include "workspace/jpeg_file.h"
#include "workspace/win32/dib.h"
#include "test_pictures.h"

namespace vimbrel::win32 {
namespace {

using testing::Gradient;
using testing::Pattern;

class MemoryDc {
public:
    MemoryDc() : dc_(::CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() { ::DeleteDC(dc_); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

RgbQuad PixelAt(HDC dc, int x, int y) {
    const COLORREF c = ::GetPixel(dc, x, y);
    return RgbQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

TEST(DibBridge, SectionShowsThePictureToGdiAtEveryDepth) {
    for (int bpp : {8, 24, 32}) {
        SCOPED_TRACE(bpp);
        const Bitmap picture = Pattern(7, 3, bpp);
        GdiBitmap section = CreateDibSection(picture);
        ASSERT_TRUE(section);
        MemoryDc dc;
        HGDIOBJ old = ::SelectObject(dc.get(), section.get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) {
                RgbQuad expected = picture.PixelColour(x, y);
                expected.reserved = 0;
                EXPECT_EQ(PixelAt(dc.get(), x, y), expected) << x << "," << y;
            }
        ::SelectObject(dc.get(), old);
    }
}

TEST(DibBridge, PixelsComeBackThroughGetDIBits) {
    const Bitmap colour = Pattern(9, 4, 24);
    EXPECT_EQ(BitmapFromHbitmap(CreateDibSection(colour).get(), 24), colour);

    const Bitmap indexed = Pattern(9, 4, 8);
    const Bitmap back = BitmapFromHbitmap(CreateDibSection(indexed).get(), 8);
    ASSERT_EQ(back.BitsPerPixel(), 8);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(back.PixelColour(x, y), indexed.PixelColour(x, y));

    const Bitmap spread = BitmapFromHbitmap(CreateDibSection(indexed).get(), 24);
    EXPECT_EQ(spread.PixelColour(3, 2), indexed.PixelColour(3, 2));

    EXPECT_THROW(BitmapFromHbitmap(nullptr), std::runtime_error);
}

TEST(DibBridge, StretchRepeatsAndDropsWholePixels) {
    const Bitmap picture = Pattern(4, 2, 24);
    const Bitmap canvasPicture(8, 4, 24);
    GdiBitmap canvas = CreateDibSection(canvasPicture);
    MemoryDc dc;
    HGDIOBJ old = ::SelectObject(dc.get(), canvas.get());
    ::SetStretchBltMode(dc.get(), HALFTONE);
    ASSERT_TRUE(DrawBitmap(dc.get(), picture, 0, 0, 8, 4));
    EXPECT_EQ(::GetStretchBltMode(dc.get()), HALFTONE);  // put back
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(dc.get(), x, y), picture.PixelColour(x / 2, y / 2));

    ASSERT_TRUE(DrawBitmap(dc.get(), Pattern(8, 4, 8), 0, 0, 4, 2));  // 1:2, palette source
    ::SelectObject(dc.get(), old);  // GetDIBits wants the bitmap out of any DC
    const Bitmap shown = BitmapFromHbitmap(canvas.get(), 24);
    const Bitmap source = Pattern(8, 4, 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const RgbQuad c = shown.PixelColour(x, y);
            // Each shown pixel is one of the source pixels it stands for, never a blend.
            bool matches = false;
            for (int sy = 2 * y; sy < 2 * y + 2; ++sy)
                for (int sx = 2 * x; sx < 2 * x + 2; ++sx) matches = matches || source.PixelColour(sx, sy) == c;
            EXPECT_TRUE(matches) << x << "," << y;
        }
}

// The readers and writers on Windows: the C runtime's files and the static libjpeg.
TEST(Win32Files, PicturesRoundTripThroughFiles) {
    char temp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    const Bitmap picture = Gradient(33, 17);  // smooth, so the JPEG copy stays near it
    const std::string bmp = std::string(temp) + "vimbrel-roundtrip.BMP";
    const std::string jpeg = std::string(temp) + "vimbrel-roundtrip.jpeg";
    WriteImageFile(picture, bmp);
    WriteImageFile(picture, jpeg);
    EXPECT_EQ(LoadImageFile(bmp), picture);
    const std::optional<Bitmap> colour = LoadImageFile(jpeg);
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->Width(), 33);
    EXPECT_EQ(colour->BitsPerPixel(), 24);
    const RgbQuad a = picture.PixelColour(16, 8), b = colour->PixelColour(16, 8);
    EXPECT_NEAR(a.red, b.red, 40);
    EXPECT_NEAR(a.green, b.green, 40);
    const std::optional<Bitmap> greys = LoadImageFile(jpeg, {true, true});
    ASSERT_TRUE(greys);
    EXPECT_EQ(greys->BitsPerPixel(), 8);
    EXPECT_LE(greys->Palette().size(), 236u);
    std::remove(bmp.c_str());
    std::remove(jpeg.c_str());
}

// Replacing goes through MoveFileEx: an existing picture is replaced whole, a read-only
// one and a folder are not, and no temporary file stays behind.
TEST(Win32Files, WritesReplaceOnlyWhenComplete) {
    char temp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string name = std::string(temp) + "vimbrel-replace.bmp";
    const std::string folder = std::string(temp) + "vimbrel-replace-folder.bmp";
    WriteImageFile(Pattern(40, 30, 24), name);
    const Bitmap small = Pattern(3, 2, 8);
    WriteImageFile(small, name);
    EXPECT_EQ(LoadImageFile(name), small);
    EXPECT_EQ(::GetFileAttributesA((name + ".part").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(WriteImageFile(Pattern(5, 5, 24), name), EInOutError);
    EXPECT_EQ(LoadImageFile(name), small);
    ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);

    ::CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_THROW(WriteImageFile(small, folder), EInOutError);
    EXPECT_NE(::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(::GetFileAttributesA((folder + ".part").c_str()), INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryA(folder.c_str());
    std::remove(name.c_str());
}

// libjpeg's failures leave through longjmp, which on Windows unwinds through SEH.
TEST(Win32Files, DamagedPicturesEndInTheReadersException) {
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(Pattern(64, 64, 24));
    for (std::size_t cut : {std::size_t(0), std::size_t(20), jpeg.size() / 2}) {
        SCOPED_TRACE(cut);
        const std::vector<std::uint8_t> part(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(cut));
        EXPECT_THROW(DecodeJpeg(part), EInvalidGraphic);
        EXPECT_THROW(DecodeJpeg(part, {true, false}), EInvalidGraphic);
    }
    std::vector<std::uint8_t> bmp = EncodeBmp(Pattern(4, 4, 24));
    bmp.resize(bmp.size() - 3);
    EXPECT_THROW(DecodeBmp(bmp), EInvalidGraphic);
    EXPECT_THROW(EncodeJpeg(Bitmap(0, 0, 24)), EInOutError);
}

}  // namespace
}  // namespace vimbrel::win32
