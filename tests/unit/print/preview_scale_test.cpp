// The print preview's arithmetic on the 4800 x 6600 page of a 600-dpi printer unless a case
// says otherwise.
#include <gtest/gtest.h>

#include "print/preview_scale.h"

namespace vimbrel {
namespace {

constexpr PageSize kPage{4800, 6600};

TEST(PreviewScale, DivisorFollowsThePrintersResolutionAndOrientation) {
    EXPECT_EQ(PreviewDivisor(600, false), 8.0);
    EXPECT_EQ(PreviewDivisor(600, true), 10.0);
    EXPECT_EQ(PreviewDivisor(300, false), 4.0);
    EXPECT_EQ(PreviewDivisor(300, true), 5.0);
    // 5 x 150 / 300 = 2.5 rounds to even; 4 x 450 / 300 = 6.
    EXPECT_EQ(PreviewDivisor(150, true), 2.0);
    EXPECT_EQ(PreviewDivisor(450, false), 6.0);
    // A printer that reports no resolution still gives a page picture of finite size.
    EXPECT_EQ(PreviewDivisor(0, false), 1.0);

    const PageSize shown = PreviewPageSize(kPage, 8.0);
    EXPECT_EQ(shown.width, 600);
    EXPECT_EQ(shown.height, 825);
    // A4 at 300 dpi: 2479 / 4 = 619.75 and 3508 / 4 = 877.
    const PageSize a4 = PreviewPageSize({2479, 3508}, 4.0);
    EXPECT_EQ(a4.width, 620);
    EXPECT_EQ(a4.height, 877);
}

TEST(PreviewScale, BestOpensAtThreeQuartersOfTheFittingScaleShownAs333PercentWithTheBarAt23) {
    const double scale = InitialPreviewScale(PrintStyle::Best, kPage, 1024, 768, 1.0);
    EXPECT_DOUBLE_EQ(scale, 3.33251953125);
    EXPECT_EQ(PreviewZoomText(scale), "333%");
    EXPECT_EQ(PreviewBarPosition(scale), 23);

    EXPECT_DOUBLE_EQ(InitialPreviewScale(PrintStyle::Full, kPage, 1024, 768, 1.0), 4550.0 / 1024);
    // A tall picture: the height limits.
    EXPECT_DOUBLE_EQ(InitialPreviewScale(PrintStyle::Full, kPage, 100, 200, 1.0), 6350.0 / 200);
    EXPECT_EQ(InitialPreviewScale(PrintStyle::Zoom, kPage, 1024, 768, 0.25), 0.25);
}

TEST(PreviewScale, BarCoversOneToEightAndStaysAtItsEndsBeyond) {
    EXPECT_EQ(PreviewBarPosition(1.0), 0);
    EXPECT_EQ(PreviewBarPosition(0.5), 0);
    EXPECT_EQ(PreviewBarPosition(8.0), 70);
    EXPECT_EQ(PreviewBarPosition(8.1), 70);
    EXPECT_EQ(PreviewBarPosition(100.0), 70);
    EXPECT_EQ(PreviewBarPosition(2.0), 10);
    EXPECT_DOUBLE_EQ(PreviewScaleForBar(0), 1.0);
    EXPECT_DOUBLE_EQ(PreviewScaleForBar(10), 2.0);
    EXPECT_DOUBLE_EQ(PreviewScaleForBar(70), 8.0);
    EXPECT_EQ(PreviewZoomText(PreviewScaleForBar(23)), "330%");
    EXPECT_EQ(PreviewZoomText(0.125), "12%");  // 12.5 to even
    EXPECT_EQ(PreviewZoomText(100.0), "10000%");
}

TEST(PreviewScale, TypedPercentagesAreCutToOneToTenThousand) {
    EXPECT_DOUBLE_EQ(TypedPreviewScale("50"), 0.5);
    EXPECT_EQ(PreviewBarPosition(TypedPreviewScale("50")), 0);
    EXPECT_DOUBLE_EQ(TypedPreviewScale("250%"), 2.5);
    EXPECT_DOUBLE_EQ(TypedPreviewScale("0"), 0.01);
    EXPECT_DOUBLE_EQ(TypedPreviewScale("-40"), 0.01);
    EXPECT_DOUBLE_EQ(TypedPreviewScale("zoom"), 0.01);
    EXPECT_DOUBLE_EQ(TypedPreviewScale(""), 0.01);
    EXPECT_DOUBLE_EQ(TypedPreviewScale("20000"), 100.0);
    EXPECT_DOUBLE_EQ(TypedPreviewScale("99999999999999999999999"), 100.0);
}

TEST(PreviewScale, PlacementCentresThePictureBelowTheMarginInPreviewPixels) {
    // Best, 1024 x 768 at 600 dpi: 1024 x 3.3325... / 8 = 426.56 -> 427, 768 x ... / 8 = 319.92 -> 320.
    const double scale = InitialPreviewScale(PrintStyle::Best, kPage, 1024, 768, 1.0);
    const PreviewPlacement p = PlacePreview(PreviewPageSize(kPage, 8.0), 8.0, false, 1024, 768, scale);
    // 125 / 8 = 15.625 -> 16; (600 - 427) div 2 = 86.
    EXPECT_EQ(p, PreviewPlacement::At(86, 16, 427, 320));

    // Landscape takes the top margin off before halving: (660 - 300 - 12) div 2 = 174 on a
    // 6600 x 4800 page with a divisor of 10 (125 / 10 = 12.5 -> 12).
    EXPECT_EQ(PlacePreview(PreviewPageSize({6600, 4800}, 10.0), 10.0, true, 300, 100, 10.0),
              PreviewPlacement::At(174, 12, 300, 100));
    // Wider than the page: never left of the margin.
    EXPECT_EQ(PlacePreview(PreviewPageSize(kPage, 8.0), 8.0, false, 1000, 10, 8.0).left, 16);
    // An odd difference truncates toward zero: (600 - 1) div 2.
    EXPECT_EQ(PlacePreview(PreviewPageSize(kPage, 8.0), 8.0, false, 1, 1, 8.0).left, 299);
}

TEST(PreviewScale, PrintingFromThePreviewUsesItsPlacementTimesTheDivisor) {
    const double scale = InitialPreviewScale(PrintStyle::Best, kPage, 1024, 768, 1.0);
    const PreviewPlacement p = PlacePreview(PreviewPageSize(kPage, 8.0), 8.0, false, 1024, 768, scale);
    const PrintLayout layout = PreviewPrintLayout(p, 8.0, 1024, 768, scale, kPage);
    // Top is 16 x 8 = 128, not the image print's 125; 3412.5 and 2559.375 round.
    EXPECT_EQ(layout, PrintLayout::At(688, 128, 3412, 2559));
    EXPECT_EQ(layout.left % 8, 0);

    // Scaled past the page: squeezed to its right and bottom edges.
    const PreviewPlacement big = PlacePreview(PreviewPageSize(kPage, 8.0), 8.0, false, 1024, 768, 10.0);
    EXPECT_EQ(PreviewPrintLayout(big, 8.0, 1024, 768, 10.0, kPage), PrintLayout::At(128, 128, 4672, 6472));
}

}  // namespace
}  // namespace vimbrel
