// The pixel geometry every subsystem shares: edges, negative origins (screens left of or
// above the primary one), empty and inverted rectangles, the rounding rule and overflow.
#include "util/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace vimbrel {
namespace {

TEST(RectTest, WidthAndHeightKeepTheirSignWhenInverted) {
    struct Case { const char* name; Rect r; int width, height; bool empty; };
    const Case cases[] = {
        {"ordinary", {10, 20, 110, 70}, 100, 50, false},
        {"one pixel", {5, 5, 6, 6}, 1, 1, false},
        {"no width", {5, 5, 5, 9}, 0, 4, true},
        {"no height", {5, 5, 9, 5}, 4, 0, true},
        {"dragged up and left", {30, 20, 10, 5}, -20, -15, true},
        {"dragged left only", {30, 5, 10, 20}, -20, 15, true},
        {"left of the primary screen", {-1280, -200, -1000, 0}, 280, 200, false},
        {"across the primary screen's corner", {-10, -10, 10, 10}, 20, 20, false},
        {"from the lowest int to the highest", {INT_MIN, 0, INT_MAX, 1}, 0, 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.r.Empty(), c.empty) << c.name;
        EXPECT_EQ(c.r.Height(), c.height) << c.name;
        if (c.r.left == INT_MIN)
            EXPECT_THROW((void)c.r.Width(), EPixelOverflow) << c.name << ": wider than an int";
        else
            EXPECT_EQ(c.r.Width(), c.width) << c.name;
    }
    EXPECT_EQ((Rect{INT_MIN, 0, -1, 0}).Width(), INT_MAX) << "the widest that fits";
}

TEST(RectTest, AtBuildsRightAndBottomFromTheSizeAndChecksTheSum) {
    EXPECT_EQ(Rect::At(10, 20, 100, 50), (Rect{10, 20, 110, 70}));
    EXPECT_EQ(Rect::At(Point{-1280, 30}, Size{300, 1024}), (Rect{-1280, 30, -980, 1054}));
    EXPECT_EQ(Rect::At(5, 5, -3, 0), (Rect{5, 5, 2, 5})) << "a negative size gives an inverted rectangle";
    EXPECT_EQ(Rect::At(INT_MAX - 10, 0, 10, 1).right, INT_MAX);
    EXPECT_THROW(Rect::At(INT_MAX - 10, 0, 11, 1), EPixelOverflow);
    EXPECT_THROW(Rect::At(0, INT_MIN, 1, -1), EPixelOverflow);
    const Rect r{-8, 20, 523, 380};
    EXPECT_EQ(Rect::At(r.TopLeft(), r.Extent()), r) << "corner and extent give the rectangle back";
}

TEST(RectTest, NormalisedPutsTheCornersInOrder) {
    struct Case { const char* name; Rect in, out; };
    const Case cases[] = {
        {"already in order", {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"dragged up and left", {30, 20, 10, 5}, {10, 5, 30, 20}},
        {"dragged up only", {10, 20, 30, 5}, {10, 5, 30, 20}},
        {"negative origin dragged left", {-100, -50, -300, 40}, {-300, -50, -100, 40}},
        {"a point", {7, 7, 7, 7}, {7, 7, 7, 7}},
    };
    for (const Case& c : cases) EXPECT_EQ(Normalised(c.in), c.out) << c.name;
}

TEST(RectTest, ContainsTheLeftAndTopEdgesButNotTheRightAndBottom) {
    const Rect r{-10, -5, 10, 5};
    struct Case { const char* name; Point p; bool inside; };
    const Case cases[] = {
        {"top-left corner", {-10, -5}, true},
        {"last pixel", {9, 4}, true},
        {"right edge", {10, 0}, false},
        {"bottom edge", {0, 5}, false},
        {"left of it", {-11, 0}, false},
        {"above it", {0, -6}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(r.Contains(c.p), c.inside) << c.name;
    EXPECT_FALSE((Rect{5, 5, 5, 9}).Contains(Point{5, 5})) << "an empty rectangle holds no pixel";
    EXPECT_FALSE((Rect{30, 20, 10, 5}).Contains(Point{20, 10})) << "nor does an inverted one";
}

TEST(RectTest, IntersectClipsToTheOverlap) {
    const Rect screen{0, 0, 1280, 1024};
    struct Case { const char* name; Rect a; Rect expected; bool empty; };
    const Case cases[] = {
        {"inside", {10, 10, 20, 20}, {10, 10, 20, 20}, false},
        {"over the left and top edges", {-5, -8, 3, 2}, {0, 0, 3, 2}, false},
        {"over the right and bottom edges", {1270, 1000, 1300, 1100}, {1270, 1000, 1280, 1024}, false},
        {"touching the right edge", {1280, 0, 1300, 10}, {1280, 0, 1280, 10}, true},
        {"wholly left of it", {-300, 0, -100, 10}, {0, 0, -100, 10}, true},
        {"covering it", {-1, -1, 2000, 2000}, {0, 0, 1280, 1024}, false},
    };
    for (const Case& c : cases) {
        const Rect got = Intersect(c.a, screen);
        EXPECT_EQ(got.Empty(), c.empty) << c.name;
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_EQ(Intersect(screen, c.a), got) << c.name << " (either order)";
    }
}

TEST(RectTest, OffsetAndRelativeToMoveEveryEdgeAndCheckTheSum) {
    const Rect selection{-90, 10, -80, 15};
    EXPECT_EQ(RelativeTo(selection, Point{-100, 0}), (Rect{10, 10, 20, 15}));
    EXPECT_EQ(Offset(selection, 100, -10), (Rect{10, 0, 20, 5}));
    EXPECT_EQ(RelativeTo(Rect{30, 20, 10, 5}, Point{10, 5}), (Rect{20, 15, 0, 0})) << "stays inverted";
    EXPECT_EQ(RelativeTo(Point{5, 6}, Point{-2, 10}), (Point{7, -4}));
    EXPECT_THROW(Offset(Rect{0, 0, INT_MAX, 1}, 1, 0), EPixelOverflow);
    EXPECT_THROW(RelativeTo(Rect{INT_MIN, 0, 0, 1}, Point{1, 0}), EPixelOverflow);
    EXPECT_THROW(RelativeTo(Point{0, 0}, Point{INT_MIN, 0}), EPixelOverflow) << "0 - INT_MIN is no int";
}

TEST(GeometryTest, CentringHalvesTowardZero) {
    struct Case { const char* name; int room, length, start; };
    const Case cases[] = {
        {"even leftover", 1024, 100, 462},
        {"odd leftover truncated", 1024, 101, 461},
        {"larger than the room, odd", 1024, 1031, -3},
        {"larger than the room by one", 10, 11, 0},
        {"exactly fitting", 153, 153, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CentreOffset(c.room, c.length), c.start) << c.name;
    EXPECT_THROW(CentreOffset(INT_MIN, 1), EPixelOverflow);
}

TEST(GeometryTest, RoundsHalvesToEven) {
    struct Case { double value; int expected; };
    for (Case c : {Case{2.5, 2}, {3.5, 4}, {1.5, 2}, {0.5, 0}, {2.4999, 2}, {2.5001, 3}, {7.0, 7}, {-2.5, -2},
                   {-3.5, -4}, {-0.4, 0}, {-1.6, -2}, {2147483647.4, INT_MAX}, {-2147483648.5, INT_MIN}})
        EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

TEST(GeometryTest, RoundingRefusesWhatNoIntHolds) {
    for (double v : {2147483647.5, 2147483648.0, -2147483649.0, 1e300, -1e300, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
        EXPECT_THROW(RoundHalfEven(v), EPixelOverflow) << v;
}

TEST(GeometryTest, ScaledRoundsEachSide) {
    EXPECT_EQ(Scaled(Size{5, 3}, 0.5), (Size{2, 2})) << "2.5 -> 2, 1.5 -> 2";
    EXPECT_EQ(Scaled(Size{1024, 768}, 10.0), (Size{10240, 7680}));
    EXPECT_EQ(Scaled(Size{4550, 6350}, 0.75), (Size{3412, 4762})) << "3412.5 and 4762.5";
    EXPECT_EQ(Scaled(Size{0, 0}, 3.0), (Size{0, 0}));
    EXPECT_THROW(Scaled(Size{65535, 1}, 1e6), EPixelOverflow);
    EXPECT_TRUE((Size{0, 5}).Empty());
    EXPECT_TRUE((Size{5, -1}).Empty());
    EXPECT_FALSE((Size{1, 1}).Empty());
}

}  // namespace
}  // namespace vimbrel
