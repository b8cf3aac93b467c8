// A picture's colours as indices into its own table, as the PNG writer takes them.
#include <gtest/gtest.h>

#include <vector>

#include "workspace/picture_colours.h"

namespace vimbrel {
namespace {

struct Indexed {
    bool fits = false;
    std::vector<RgbQuad> table;
    std::vector<std::uint8_t> indices;
};

Indexed Index(const Bitmap& picture, int maxColours) {
    Indexed r;
    r.indices.assign(std::size_t(picture.Width()) * std::size_t(picture.Height()), 0xEE);
    r.fits = IndexColours(picture, maxColours, r.table, r.indices.data(), std::size_t(picture.Width()));
    return r;
}

// Each pixel's colour, looked up through its index.
void ExpectEveryPixelFound(const Bitmap& picture, const Indexed& r) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint8_t i = r.indices[std::size_t(y) * std::size_t(picture.Width()) + std::size_t(x)];
            ASSERT_LT(i, r.table.size()) << x << "," << y;
            const RgbQuad want = picture.PixelColour(x, y), got = r.table[i];
            ASSERT_TRUE(got.red == want.red && got.green == want.green && got.blue == want.blue) << x << "," << y;
        }
}

TEST(PictureColoursTest, RunsAndInksSwitchingBackAndForthKeepEachPixelsOwnColour) {
    const RgbQuad paper{255, 255, 255, 0}, ink{20, 20, 20, 0}, red{0, 0, 200, 0}, grey{128, 128, 128, 7};
    // Text switches between two colours, now and then a third; the 32-bit picture's fourth
    // byte is no part of a colour.
    const std::vector<RgbQuad> row = {paper, ink, paper, ink, ink, red, paper, red, ink, grey, paper, grey, red, ink};
    for (int bpp : {24, 32}) {
        SCOPED_TRACE(bpp);
        Bitmap picture(int(row.size()), 3, bpp);
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) picture.SetPixelColour(x, y, row[std::size_t(x + y) % row.size()]);
        const Indexed r = Index(picture, 256);
        ASSERT_TRUE(r.fits);
        EXPECT_EQ(r.table.size(), 4u) << "each colour once, in the order it first appears";
        ExpectEveryPixelFound(picture, r);
    }
}

TEST(PictureColoursTest, OneColourPastTheLimitIsRefusedAndTheLimitIsAtMost256) {
    Bitmap picture(257, 1, 24);
    for (int x = 0; x < 257; ++x) picture.SetPixelColour(x, 0, RgbQuad{std::uint8_t(x), std::uint8_t(x >> 8), 9, 0});
    EXPECT_FALSE(Index(picture, 256).fits);
    EXPECT_FALSE(Index(picture, 300).fits);
    Bitmap full(256, 1, 24);
    for (int x = 0; x < 256; ++x) full.SetPixelColour(x, 0, picture.PixelColour(x, 0));
    const Indexed r = Index(full, 256);
    ASSERT_TRUE(r.fits);
    ExpectEveryPixelFound(full, r);
    EXPECT_FALSE(Index(full, 255).fits);
}

}  // namespace
}  // namespace vimbrel
