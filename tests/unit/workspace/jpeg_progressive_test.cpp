// Progressive JPEG files made here with the library itself: whole ones read, ones cut
// short or missing scans are damage, and ones of very many scans are refused unread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "workspace/image_errors.h"
#include "workspace/jpeg_file.h"
#include "test_pictures.h"

namespace vimbrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::Gradient;

// A progressive file of the picture: the library's usual script, or the one given.
Bytes Progressive(const Bitmap& picture, bool grey, const std::vector<jpeg_scan_info>& script = {}) {
    jpeg_error_mgr err;
    jpeg_compress_struct c{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &data, &size);
    c.image_width = JDIMENSION(picture.Width());
    c.image_height = JDIMENSION(picture.Height());
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    if (grey) jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    if (script.empty()) {
        jpeg_simple_progression(&c);
    } else {
        c.scan_info = script.data();
        c.num_scans = int(script.size());
    }
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.Row(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes file(data, data + size);
    std::free(data);
    return file;
}

// A valid greyscale script of the given number of scans (64 to 704): each coefficient
// on its own, the first ones sent one bit at a time from the coarsest step the library
// takes, so that every coefficient has its scans.
std::vector<jpeg_scan_info> ScriptOf(int scans) {
    constexpr int kCoarsest = 10;
    int extra = scans - DCTSIZE2;
    std::vector<jpeg_scan_info> script;
    for (int k = 0; k < DCTSIZE2; ++k) {
        const int steps = std::min(extra, kCoarsest);
        extra -= steps;
        for (int al = steps; al >= 0; --al) {
            jpeg_scan_info s{};
            s.comps_in_scan = 1;
            s.Ss = k;
            s.Se = k;
            s.Ah = al == steps ? 0 : al + 1;
            s.Al = al;
            script.push_back(s);
        }
    }
    return script;
}

// Offsets of the scan headers (0xFF 0xDA).
std::vector<std::size_t> ScanStarts(const Bytes& f) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i + 1 < f.size(); ++i)
        if (f[i] == 0xFF && f[i + 1] == 0xDA) at.push_back(i);
    return at;
}

Bytes Closed(Bytes f) {
    f.insert(f.end(), {0xFF, 0xD9});
    return f;
}

TEST(ProgressiveJpeg, WholeFilesReadAtEveryOutput) {
    const Bitmap picture = Gradient(48, 40);
    const Bytes colour = Progressive(picture, false);
    ASSERT_GT(ScanStarts(colour).size(), 4u);
    const Bitmap b = DecodeJpeg(colour);
    EXPECT_EQ(b.Width(), 48);
    EXPECT_EQ(b.Height(), 40);
    EXPECT_NEAR(b.PixelColour(47, 39).blue, picture.PixelColour(47, 39).blue, 16);
    EXPECT_EQ(DecodeJpeg(colour, {true, true}).BitsPerPixel(), 8);
    EXPECT_EQ(DecodeJpeg(Progressive(picture, true)).Width(), 48);

    // As many scans as the limit allows still read; one more is refused.
    const Bytes atLimit = Progressive(Gradient(16, 16), true, ScriptOf(kMaxJpegScans));
    ASSERT_EQ(ScanStarts(atLimit).size(), std::size_t(kMaxJpegScans));
    EXPECT_EQ(DecodeJpeg(atLimit).Width(), 16);
    EXPECT_THROW(DecodeJpeg(Progressive(Gradient(16, 16), true, ScriptOf(kMaxJpegScans + 1))), EInvalidGraphic);
}

TEST(ProgressiveJpeg, CutShortOrMissingScansIsDamage) {
    const Bytes whole = Progressive(Gradient(48, 40), false);
    const std::vector<std::size_t> scans = ScanStarts(whole);
    ASSERT_GE(scans.size(), 3u);
    const Bytes inSecondScan(whole.begin(), whole.begin() + std::ptrdiff_t(scans[1] + 30));
    const Bytes afterSecondScan(whole.begin(), whole.begin() + std::ptrdiff_t(scans[2]));
    const Bytes noEndMarker(whole.begin(), whole.end() - 2);
    struct Case {
        const char* name;
        Bytes data;
    };
    for (const Case& c : {Case{"cut in the second scan", inSecondScan},
                          Case{"cut in the second scan, end marker added", Closed(inSecondScan)},
                          Case{"only the first two scans, end marker added", Closed(afterSecondScan)},
                          Case{"every scan but no end marker", noEndMarker}}) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeJpeg(c.data), EInvalidGraphic);
        EXPECT_THROW(DecodeJpeg(c.data, {true, false}), EInvalidGraphic);
    }
}

TEST(ProgressiveJpeg, ManyScansAreRefusedUnread) {
    // A tiny picture of 704 valid scans: the library itself reads it, the reader does not.
    const Bytes many = Progressive(Gradient(16, 16), true, ScriptOf(704));
    ASSERT_EQ(ScanStarts(many).size(), 704u);
    EXPECT_THROW(DecodeJpeg(many), EInvalidGraphic);
    const Bytes noEndMarker(many.begin(), many.end() - 2);
    EXPECT_THROW(DecodeJpeg(noEndMarker), EInvalidGraphic);
}

}  // namespace
}  // namespace vimbrel
