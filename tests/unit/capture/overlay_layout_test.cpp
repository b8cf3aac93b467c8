// Where the overlay puts its readout and magnifier near the screen's edges, what one change
// makes stale, and the texts it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/overlay_layout.h"

namespace vimbrel {
namespace {

const Rect kMonitor{0, 0, 1920, 1080};
const Size kLoupe{120, 140};

struct LoupeCase {
    const char* name;
    Point pointer;
    Rect expected;
};

class LoupePlaceTest : public ::testing::TestWithParam<LoupeCase> {};

TEST_P(LoupePlaceTest, StaysOnTheMonitorBesideThePointer) {
    const LoupeCase& c = GetParam();
    const Rect box = LoupePlace(c.pointer, kLoupe, kMonitor, 16);
    EXPECT_EQ(box, c.expected);
    EXPECT_FALSE(box.Contains(c.pointer)) << "the magnifier covers the pointer";
    EXPECT_EQ(Intersect(box, kMonitor), box) << "the magnifier leaves the monitor";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoupePlaceTest,
    ::testing::Values(LoupeCase{"BelowRightInTheMiddle", {500, 400}, Rect::At(517, 417, 120, 140)},
                      LoupeCase{"LeftOfThePointerAtTheRightEdge", {1900, 400}, Rect::At(1764, 417, 120, 140)},
                      LoupeCase{"AboveThePointerAtTheBottom", {500, 1070}, Rect::At(517, 914, 120, 140)},
                      LoupeCase{"AboveLeftInTheCorner", {1919, 1079}, Rect::At(1783, 923, 120, 140)},
                      LoupeCase{"AtTheTopLeftCorner", {0, 0}, Rect::At(17, 17, 120, 140)}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST(LoupePlaceTest, OnASecondMonitorItKeepsToThatMonitor) {
    const Rect right{1920, 0, 3200, 1024};
    const Rect box = LoupePlace({1925, 1020}, kLoupe, right, 16);
    EXPECT_EQ(box, Rect::At(1942, 864, 120, 140));
    const Rect left{-1280, 0, 0, 1024};
    EXPECT_EQ(LoupePlace({-5, 10}, kLoupe, left, 16), Rect::At(-141, 27, 120, 140));
}

TEST(ReadoutPlaceTest, BelowTheSelectionAboveItAtTheBottomInsideItWhenItFillsTheScreen) {
    const Size box{90, 20};
    EXPECT_EQ(ReadoutPlace(Rect{100, 100, 300, 200}, box, kMonitor, 4), Rect::At(100, 204, 90, 20));
    EXPECT_EQ(ReadoutPlace(Rect{100, 900, 300, 1070}, box, kMonitor, 4), Rect::At(100, 876, 90, 20));
    EXPECT_EQ(ReadoutPlace(kMonitor, box, kMonitor, 4), Rect::At(4, 4, 90, 20));
    EXPECT_EQ(ReadoutPlace(Rect{1900, 100, 1920, 200}, box, kMonitor, 4), Rect::At(1830, 204, 90, 20))
        << "kept inside the screen's right edge";
}

TEST(OverlayTextsTest, SizesPointerAndColour) {
    EXPECT_EQ(SizeReadout(Rect{10, 20, 650, 500}), "640 x 480");
    EXPECT_EQ(PointerReadout({-1280, 7}), "-1280, 7");
    Bitmap picture(2, 1, 24);
    picture.SetPixelColour(1, 0, RgbQuad{0x0A, 0xB0, 0xFF, 0});  // blue, green, red
    EXPECT_EQ(HexColour(picture, {1, 0}), "#FFB00A");
    EXPECT_EQ(HexColour(picture, {2, 0}), "");
    EXPECT_EQ(LoupeView{}.SourceAround({100, 50}), Rect::At(93, 43, 15, 15));
}

// Every pixel of a canvas painted by the rectangles; the count of each.
std::vector<int> Coverage(const std::vector<Rect>& rects, int side) {
    std::vector<int> hits(std::size_t(side * side), 0);
    for (const Rect& r : rects)
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, side); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, side); ++x) ++hits[std::size_t(y * side + x)];
    return hits;
}

TEST(ChangedAreasTest, CoverExactlyThePixelsWhoseLookChanges) {
    const int side = 40;
    const Rect before{5, 5, 20, 25}, after{8, 3, 30, 25};
    const std::vector<Rect> changed = ChangedAreas(before, after, 1);
    const std::vector<int> hits = Coverage(changed, side);
    auto inside = [](const Rect& r, int x, int y) { return r.Contains({x, y}); };
    auto onBorder = [&](const Rect& r, int x, int y) {
        return !inside(r, x, y) && Inflated(r, 1).Contains({x, y});
    };
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const bool stale = inside(before, x, y) != inside(after, x, y) || onBorder(before, x, y) || onBorder(after, x, y);
            EXPECT_EQ(hits[std::size_t(y * side + x)] > 0, stale) << x << "," << y;
        }
    EXPECT_TRUE(ChangedAreas(before, before, 1).empty());
    EXPECT_EQ(Coverage(ChangedAreas(Rect{}, Rect{2, 2, 4, 4}, 1), side),
              Coverage({Rect{1, 1, 5, 5}}, side)) << "a first selection: itself and its border";
}

}  // namespace
}  // namespace vimbrel
