#include <gtest/gtest.h>

#include "block_text_shaper.h"
#include "markup/mark_renderer.h"

namespace vimbrel {
namespace {

constexpr MarkColour kRed{220, 30, 30};

Bitmap Grey(int w, int h, std::uint8_t v = 128) {
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelColour(x, y, RgbQuad{v, v, v, 0});
    return b;
}

bool Is(const Bitmap& b, int x, int y, MarkColour c) {
    const RgbQuad p = b.PixelColour(x, y);
    return p.red == c.red && p.green == c.green && p.blue == c.blue;
}

Mark Made(MarkTool kind, std::vector<Point> points, int width = 3, bool fill = false) {
    Mark m{kind, MarkStyle{}, std::move(points), {}};
    m.style.colour = kRed;
    m.style.width = width;
    m.style.fill = fill;
    return m;
}

class MarkRendererTest : public ::testing::Test {
protected:
    Bitmap Drawn(const Bitmap& base, double scale, const std::vector<Mark>& marks) {
        return WithMarks(base, scale, marks, picture, shaper);
    }
    testing::BlockTextShaper shaper;
    Bitmap picture = Grey(200, 120);
};

TEST_F(MarkRendererTest, ShapesLandOnTheirPixelsInTheirColourAndLeaveTheRestAlone) {
    const Bitmap out = Drawn(picture, 1, {Made(MarkTool::Rectangle, {{10, 10}, {60, 50}}),
                                          Made(MarkTool::Arrow, {{100, 60}, {180, 60}}, 4),
                                          Made(MarkTool::Ellipse, {{120, 0}, {160, 40}}, 2, true)});
    EXPECT_TRUE(Is(out, 11, 30, kRed)) << "the rectangle's border";
    EXPECT_TRUE(Is(out, 35, 30, MarkColour{128, 128, 128})) << "inside the open rectangle";
    EXPECT_TRUE(Is(out, 140, 20, kRed)) << "inside the filled ellipse";
    EXPECT_TRUE(Is(out, 121, 1, MarkColour{128, 128, 128})) << "the ellipse's box corner";
    EXPECT_TRUE(Is(out, 176, 60, kRed)) << "the arrow's head near its tip";
    EXPECT_TRUE(Is(out, 170, 63, kRed)) << "the head is wider than the shaft";
    EXPECT_TRUE(Is(out, 120, 66, MarkColour{128, 128, 128})) << "beside the shaft";
    EXPECT_TRUE(Is(out, 5, 100, MarkColour{128, 128, 128}));
    EXPECT_EQ(out.Width(), 200);
    EXPECT_EQ(out.BitsPerPixel(), 24);
}

TEST_F(MarkRendererTest, EdgesAreAntialiased) {
    // A diagonal line's edge pixels hold blends between the mark and the picture.
    const Bitmap out = Drawn(picture, 1, {Made(MarkTool::Line, {{10, 10}, {110, 60}}, 3)});
    int blended = 0;
    for (int x = 10; x < 110; ++x)
        for (int y = 0; y < 120; ++y) {
            const RgbQuad p = out.PixelColour(x, y);
            if (p.red != 128 && p.red != kRed.red) ++blended;
        }
    EXPECT_GT(blended, 100);
}

TEST_F(MarkRendererTest, AHighlightIsTranslucentAndItsCrossingsNoDarker) {
    Mark stroke = Made(MarkTool::Highlighter, {{10, 50}, {150, 50}, {150, 90}, {10, 50}}, 5);
    stroke.style.colour = MarkColour{255, 230, 0};
    const Bitmap out = Drawn(picture, 1, {stroke});
    const RgbQuad once = out.PixelColour(80, 50), crossing = out.PixelColour(10, 50);
    EXPECT_GT(once.red, 128);
    EXPECT_LT(once.red, 255) << "the picture shows through";
    EXPECT_LT(once.blue, 128);
    EXPECT_EQ(once, crossing);
}

TEST_F(MarkRendererTest, ARedactionBoxHoldsOnlyBlockAveragesOfThePicture) {
    // Two pictures whose detail differs inside every block but whose blocks average alike
    // give the same redacted pixels: nothing of the detail is left to read back.
    Bitmap a = Grey(200, 120), b = Grey(200, 120);
    for (int y = 20; y < 80; ++y)
        for (int x = 20; x < 140; ++x) {
            const bool even = (x + y) % 2 == 0;
            a.SetPixelColour(x, y, even ? RgbQuad{0, 0, 0, 0} : RgbQuad{200, 200, 200, 0});
            b.SetPixelColour(x, y, even ? RgbQuad{200, 200, 200, 0} : RgbQuad{0, 0, 0, 0});
        }
    const Mark redact = Made(MarkTool::Redact, {{20, 20}, {140, 80}});
    const Bitmap outA = WithMarks(a, 1, {redact}, a, shaper), outB = WithMarks(b, 1, {redact}, b, shaper);
    const int block = RedactionBlock(Rect{20, 20, 140, 80});
    EXPECT_GE(block, 10);
    for (int y = 20; y < 80; ++y)
        for (int x = 20; x < 140; ++x) {
            ASSERT_EQ(outA.PixelColour(x, y), outB.PixelColour(x, y)) << x << "," << y;
            ASSERT_EQ(outA.PixelColour(x, y).red, 100) << x << "," << y;
        }
    EXPECT_EQ(outA.PixelColour(10, 10).red, 128) << "outside the box";

    Mark solid = redact;
    solid.style.fill = true;
    solid.style.colour = MarkColour{0, 0, 0};
    const Bitmap filled = WithMarks(a, 1, {solid}, a, shaper);
    EXPECT_TRUE(Is(filled, 21, 21, MarkColour{0, 0, 0}));
    EXPECT_TRUE(Is(filled, 139, 79, MarkColour{0, 0, 0}));
}

TEST_F(MarkRendererTest, StepsAndTextAreDrawnAndStepsShowTheirNumber) {
    Mark text = Made(MarkTool::Text, {{10, 10}});
    text.text = "ab\ncd";
    text.style.fontSize = 20;
    Mark step = Made(MarkTool::Step, {{150, 60}});
    step.style.fontSize = 20;
    const Bitmap out = Drawn(picture, 1, {text, step});
    EXPECT_TRUE(Is(out, 15, 15, kRed));
    EXPECT_TRUE(Is(out, 25, 45, kRed)) << "the second line";
    EXPECT_TRUE(Is(out, 45, 15, MarkColour{128, 128, 128})) << "past the text";
    EXPECT_TRUE(Is(out, 150 - StepRadius(step.style) + 2, 60, kRed)) << "the step's circle";
    EXPECT_TRUE(Is(out, 150, 60, MarkColour{255, 255, 255})) << "its number, light on the dark circle";
}

TEST_F(MarkRendererTest, AtAZoomTheMarksScaleWithThePictureAndMarksOffThePictureAreCut) {
    const Bitmap shown = Grey(400, 240);
    const Mark box = Made(MarkTool::Rectangle, {{10, 10}, {60, 50}}, 2);
    const Mark off = Made(MarkTool::Rectangle, {{150, 100}, {900, 900}}, 2, true);
    const Bitmap out = Drawn(shown, 2, {box, off});
    EXPECT_TRUE(Is(out, 21, 60, kRed));
    EXPECT_TRUE(Is(out, 23, 60, kRed)) << "twice as wide";
    EXPECT_TRUE(Is(out, 25, 60, MarkColour{128, 128, 128}));
    EXPECT_TRUE(Is(out, 399, 239, kRed));
}

TEST_F(MarkRendererTest, AnIndexedPictureComesOutInTrueColour) {
    const Bitmap eight(4, 4, 8);
    EXPECT_EQ(WithMarks(eight, 1, {}, eight, shaper).BitsPerPixel(), 24);
}

}  // namespace
}  // namespace vimbrel
