#include "desktop/picture_preview.h"

#include <gtest/gtest.h>

#include <climits>

namespace vimbrel {
namespace {

TEST(MulDivTest, RoundsHalvesAwayFromZeroAndRefusesWhatCannotBeAnswered) {
    EXPECT_EQ(MulDiv(500, 153, 1000), 77);    // 76.5
    EXPECT_EQ(MulDiv(500, 141, 1000), 71);    // 70.5
    EXPECT_EQ(MulDiv(990, 153, 1000), 151);   // 151.47
    EXPECT_EQ(MulDiv(2, 1, 3), 1);            // 0.67
    EXPECT_EQ(MulDiv(1, 1, 3), 0);            // 0.33
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);          // -2.5
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(-5, -1, 2), 3);
    EXPECT_EQ(MulDiv(100000, 100000, 10), 1000000000) << "the product is held in 64 bits";
    EXPECT_EQ(MulDiv(7, 3, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
}

TEST(PictureLabelTextTest, SizeOfAPictureOrTheWordPicture) {
    EXPECT_EQ(PictureLabelText(Size{100, 50}), " (100x50)");
    EXPECT_EQ(PictureLabelText(Size{640, 480}), " (640x480)");
    EXPECT_EQ(PictureLabelText(std::nullopt), "Picture:");
}

// The box of the dialog's designed size.
constexpr int kBoxWidth = 153, kBoxHeight = 141;

TEST(PlacePreviewTest, APictureThatFitsIsDrawnAtItsOwnSizeCentred) {
    EXPECT_EQ(PlacePreview({100, 50}, kBoxWidth, kBoxHeight), Rect::At(26, 45, 100, 50)) << "halves truncated";
    EXPECT_EQ(PlacePreview({153, 141}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 153, 141)) << "exactly fitting";
    EXPECT_EQ(PlacePreview({1, 141}, kBoxWidth, kBoxHeight), Rect::At(76, 0, 1, 141));
}

TEST(PlacePreviewTest, ALargerPictureIsScaledIntoTheBoxAtItsTopLeft) {
    EXPECT_EQ(PlacePreview({1000, 500}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 153, 77)) << "wider than high";
    EXPECT_EQ(PlacePreview({500, 1000}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 71, 141)) << "taller than wide";
    EXPECT_EQ(PlacePreview({200, 200}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 141, 141)) << "square";
    EXPECT_EQ(PlacePreview({154, 10}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 153, 10)) << "one pixel too wide";
    EXPECT_EQ(PlacePreview({100, 142}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 99, 141)) << "one pixel too high";
}

TEST(PlacePreviewTest, ANearlySquareWidePictureStaysInsideABoxWiderThanHigh) {
    // Scaled to the box width it would be 151 high, ten rows below the box.
    EXPECT_EQ(PlacePreview({1000, 990}, kBoxWidth, kBoxHeight), Rect::At(0, 0, 142, 141));
    // In a tall box a nearly square tall picture meets the sides first.
    EXPECT_EQ(PlacePreview({990, 1000}, 100, 300), Rect::At(0, 0, 100, 101));
}

TEST(PlacePreviewTest, NoPictureHasNoPlace) {
    EXPECT_EQ(PlacePreview({0, 0}, kBoxWidth, kBoxHeight), Rect{});
    EXPECT_EQ(PlacePreview({0, 50}, kBoxWidth, kBoxHeight), Rect{});
}

TEST(LayoutPicturePanelTest, TheDesignedPanelGivesTheDesignedBoxAndButtonsAtItsRightEnd) {
    // 157 x 145 inside the bevels of the paint panel: the 153 x 141 box.
    const PicturePanelLayout l = LayoutPicturePanel(169, 186);
    EXPECT_EQ(l.PictureLabel, Rect::At(6, 6, 157, 23));
    EXPECT_EQ(l.PaintPanel, Rect::At(6, 29, 157, 151));
    EXPECT_EQ(l.PaintBox, Rect::At(8, 31, 153, 147));
    EXPECT_EQ(l.PreviewButton, Rect::At(139, 1, 22, 23)) << "its right edge 2 short of the paint panel's";
    EXPECT_EQ(l.DeleteButton, Rect::At(82, 1, 55, 23)) << "2 left of the preview button";
    const PicturePanelLayout designed = LayoutPicturePanel(169, 180);
    EXPECT_EQ(designed.PaintBox.Width(), 153);
    EXPECT_EQ(designed.PaintBox.Height(), 141);
}

TEST(LayoutPicturePanelTest, ATinyPanelGivesEmptyPartsNotNegativeOnes) {
    const PicturePanelLayout l = LayoutPicturePanel(4, 10);
    EXPECT_EQ(l.PaintPanel.Width(), 0);
    EXPECT_EQ(l.PaintPanel.Height(), 0);
    EXPECT_EQ(l.PaintBox.Width(), 0);
    EXPECT_EQ(l.PaintBox.Height(), 0);
}

TEST(PicturePanelBoundsTest, FromTheStandardControlsToTheClientEdgeFourPixelsDownAndClearOfTheGrip) {
    EXPECT_EQ(PicturePanelBounds(Rect{0, 0, 844, 358}, Rect{0, 0, 648, 358}, 0), (Rect{648, 4, 844, 358}));
    // The panel's own 6-pixel border covers that much of a 16-pixel grip.
    EXPECT_EQ(PicturePanelBounds(Rect{0, 0, 844, 358}, Rect{0, 0, 648, 358}, 16), (Rect{648, 4, 844, 348}));
    EXPECT_EQ(PicturePanelBounds(Rect{0, 0, 844, 358}, Rect{0, 0, 648, 358}, 4), (Rect{648, 4, 844, 358}));
}

TEST(PreviewWindowBoundsTest, CentredInTheWorkAreaAndNeverLargerThanIt) {
    EXPECT_EQ(PreviewWindowBounds(200, 100, Rect{0, 0, 1280, 1024}), Rect::At(540, 462, 200, 100));
    EXPECT_EQ(PreviewWindowBounds(3000, 100, Rect{0, 0, 1280, 994}), Rect::At(0, 447, 1280, 100));
    EXPECT_EQ(PreviewWindowBounds(300, 5000, Rect{-1280, 30, 0, 1054}), Rect::At(-790, 30, 300, 1024));
}

}  // namespace
}  // namespace vimbrel
