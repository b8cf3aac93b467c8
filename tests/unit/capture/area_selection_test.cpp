// The area overlay's selection: drags in any direction, a click that takes the window under
// it, the keys, and how the overlay ends; and which window a point takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/area_selection.h"

namespace vimbrel {
namespace {

const Rect kScreen{0, 0, 800, 600};

// A window at (100, 100) of 400 x 300 with a button in it, under a small tool window that
// lies over its right part and hangs off the screen's right edge.
WindowSnap Windows() {
    SnapWindow tool{Rect{450, 50, 900, 150}, {}};
    SnapWindow button{Rect{120, 350, 200, 380}, {}};
    SnapWindow editor{Rect{100, 100, 500, 400}, {button}};
    return WindowSnap({tool, editor});
}

struct Step {
    enum Kind { Down, Move, Up, KeyPress } kind;
    MouseButton button = MouseButton::Left;
    Point at{};
    SelectionKey key = SelectionKey::Enter;
    bool shift = false;
};
Step Press(Point at, MouseButton b = MouseButton::Left) { return {Step::Down, b, at}; }
Step MoveTo(Point at) { return {Step::Move, MouseButton::Left, at}; }
Step Release(Point at, MouseButton b = MouseButton::Left) { return {Step::Up, b, at}; }
Step Key(SelectionKey key, bool shift = false) { return {Step::KeyPress, MouseButton::Left, {}, key, shift}; }

struct SelectionCase {
    const char* name;
    std::vector<Step> steps;
    SelectionEnd end;
    Rect selection;
};

class AreaSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(AreaSelectionTest, EndsAsTheUserMeantIt) {
    const SelectionCase& c = GetParam();
    AreaSelection area(kScreen, Windows());
    for (const Step& s : c.steps) {
        switch (s.kind) {
        case Step::Down: area.MouseDown(s.button, s.at); break;
        case Step::Move: area.MouseMove(s.at); break;
        case Step::Up: area.MouseUp(s.button, s.at); break;
        case Step::KeyPress: area.Key(s.key, s.shift); break;
        }
    }
    EXPECT_EQ(area.End(), c.end);
    if (c.end == SelectionEnd::Take) {
        EXPECT_EQ(area.Selection(), c.selection);
    }
    EXPECT_FALSE(area.Dragging());
}

using E = SelectionEnd;
const auto R = MouseButton::Right, M = MouseButton::Middle;
using K = SelectionKey;

INSTANTIATE_TEST_SUITE_P(
    Cases, AreaSelectionTest,
    ::testing::Values(
        SelectionCase{"DragDownRight", {Press({10, 20}), MoveTo({50, 60}), Release({110, 90})}, E::Take, {10, 20, 110, 90}},
        SelectionCase{"DragUpLeft", {Press({300, 200}), MoveTo({100, 50}), Release({100, 50})}, E::Take, {100, 50, 300, 200}},
        SelectionCase{"DragUpRight", {Press({10, 200}), Release({90, 20})}, E::Take, {10, 20, 90, 200}},
        SelectionCase{"DragDownLeft", {Press({90, 20}), Release({10, 200})}, E::Take, {10, 20, 90, 200}},
        SelectionCase{"DragPastTheScreenIsClipped", {Press({700, 500}), MoveTo({900, -40}), Release({900, -40})}, E::Take,
                      {700, 0, 800, 500}},
        SelectionCase{"ClickOnAWindowTakesIt", {MoveTo({300, 200}), Press({300, 200}), Release({301, 201})}, E::Take,
                      {100, 100, 500, 400}},
        SelectionCase{"ClickOnAControlTakesTheControl", {Press({150, 360}), Release({150, 360})}, E::Take, {120, 350, 200, 380}},
        SelectionCase{"TheWindowOnTopWinsAndIsClippedToTheScreen", {Press({480, 120}), Release({480, 120})}, E::Take,
                      {450, 50, 800, 150}},
        SelectionCase{"ClickOnNoWindowIsEmpty", {Press({700, 500}), Release({700, 500})}, E::Take, {}},
        SelectionCase{"RightClickCancels", {MoveTo({300, 200}), Press({300, 200}, R), Release({300, 200}, R)}, E::Cancel, {}},
        SelectionCase{"EscapeCancelsADrag", {Press({10, 10}), MoveTo({60, 60}), Key(K::Escape)}, E::Cancel, {}},
        SelectionCase{"AnotherButtonEndsADragWithItsRectangle", {Press({1, 2}), MoveTo({20, 30}), Release({20, 30}, R)},
                      E::Take, {1, 2, 20, 30}},
        SelectionCase{"AMiddleClickAloneIsEmpty", {Press({300, 200}, M), Release({300, 200}, M)}, E::Take, {}},
        SelectionCase{"ArrowsPlaceTheCornerByOneOrTenPixels",
                      {Press({10, 10}), MoveTo({50, 50}), Key(K::Right), Key(K::Down, true), Key(K::Up), Key(K::Enter)},
                      E::Take, {10, 10, 51, 59}},
        SelectionCase{"ArrowsAloneStartNoDrag", {MoveTo({300, 200}), Key(K::Left, true), Key(K::Enter)}, E::Take,
                      {100, 100, 500, 400}},
        SelectionCase{"ArrowsStopAtTheScreensLastPixel",
                      {Press({790, 590}), MoveTo({795, 595}), Key(K::Right, true), Key(K::Down, true), Key(K::Enter)}, E::Take,
                      {790, 590, 799, 599}},
        SelectionCase{"EnterWithNothingOutlinedIsEmpty", {MoveTo({700, 500}), Key(K::Enter)}, E::Take, {}},
        SelectionCase{"SecondPressRestartsTheDrag", {Press({1, 1}), MoveTo({90, 90}), Press({40, 40}), Release({60, 80})},
                      E::Take, {40, 40, 60, 80}},
        SelectionCase{"NothingAfterTheEndCounts", {Key(K::Escape), Press({10, 10}), Release({90, 90})}, E::Cancel, {}}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST(AreaSelectionTest, OutlinesTheWindowUnderThePointerUntilADragStarts) {
    AreaSelection area(kScreen, Windows(), 4);
    area.MouseMove({300, 200});
    EXPECT_EQ(area.Outlined(), (Rect{100, 100, 500, 400}));
    area.MouseMove({700, 500});
    EXPECT_FALSE(area.Outlined()) << "no window there";
    area.MouseDown(MouseButton::Left, {300, 200});
    area.MouseMove({302, 203});
    EXPECT_FALSE(area.Dragging()) << "a jitter under the drag threshold is still a click";
    EXPECT_EQ(area.Outlined(), (Rect{100, 100, 500, 400}));
    area.MouseMove({304, 203});
    EXPECT_TRUE(area.Dragging());
    EXPECT_FALSE(area.Outlined());
    EXPECT_EQ(area.Selection(), (Rect{300, 200, 304, 203}));
}

TEST(WindowSnapTest, AControlIsSeenOnlyThroughItsParent) {
    // A child that reaches past its parent takes only the part the parent shows.
    WindowSnap snap({SnapWindow{Rect{0, 0, 100, 100}, {SnapWindow{Rect{50, 50, 300, 300}, {}}}}});
    EXPECT_EQ(snap.At({60, 60}, kScreen), (Rect{50, 50, 100, 100}));
    EXPECT_EQ(snap.At({10, 10}, kScreen), (Rect{0, 0, 100, 100}));
    EXPECT_FALSE(snap.At({150, 150}, kScreen)) << "the child's hidden part is no window";
}

}  // namespace
}  // namespace vimbrel
