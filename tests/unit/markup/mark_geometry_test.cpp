#include <gtest/gtest.h>

#include "block_text_shaper.h"
#include "markup/mark_geometry.h"
#include "markup/markup_document.h"
#include "markup/markup_styles.h"

namespace vimbrel {
namespace {

Mark Box(MarkTool kind, Point a, Point b, bool fill = false) {
    Mark m{kind, MarkStyle{}, {a, b}, {}};
    m.style.fill = fill;
    return m;
}

TEST(MarkGeometryTest, APointTouchesAMarkOnlyWhereItIsDrawn) {
    const testing::BlockTextShaper shaper;
    Mark text{MarkTool::Text, MarkStyle{}, {{10, 10}}, "abc"};
    text.style.fontSize = 20;  // 3 cells of 10 x 20
    Mark step{MarkTool::Step, MarkStyle{}, {{100, 100}}, {}};
    struct Case {
        const char* name;
        Mark mark;
        Point at;
        bool touches;
    } cases[] = {
        {"on a rectangle's border", Box(MarkTool::Rectangle, {10, 10}, {110, 60}), {10, 30}, true},
        {"inside an open rectangle", Box(MarkTool::Rectangle, {10, 10}, {110, 60}), {60, 35}, false},
        {"inside a filled rectangle", Box(MarkTool::Rectangle, {10, 10}, {110, 60}, true), {60, 35}, true},
        {"a drawn-backwards rectangle's border", Box(MarkTool::Rectangle, {110, 60}, {10, 10}), {60, 60}, true},
        {"on an ellipse's outline", Box(MarkTool::Ellipse, {0, 0}, {100, 50}), {100, 25}, true},
        {"in an open ellipse's middle", Box(MarkTool::Ellipse, {0, 0}, {100, 50}), {50, 25}, false},
        {"a box corner outside a filled ellipse", Box(MarkTool::Ellipse, {0, 0}, {100, 50}, true), {3, 3}, false},
        {"anywhere in a redaction box", Box(MarkTool::Redact, {0, 0}, {50, 50}), {25, 25}, true},
        {"on a line", Box(MarkTool::Line, {0, 0}, {100, 100}), {51, 50}, true},
        {"beside a line", Box(MarkTool::Line, {0, 0}, {100, 100}), {70, 50}, false},
        {"at an arrow's tip", Box(MarkTool::Arrow, {0, 0}, {100, 0}), {99, 4}, true},
        {"inside a text box", text, {35, 25}, true},
        {"right of a text box", text, {60, 25}, false},
        {"on a step's circle", step, {108, 100}, true},
        {"outside a step's circle", step, {130, 100}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(Touches(c.mark, c.at, 2, shaper), c.touches) << c.name;
}

TEST(MarkGeometryTest, HandlesResizeABoxFromAnySideAndKeepItNormalised) {
    const Mark box = Box(MarkTool::Rectangle, {10, 10}, {50, 30});
    ASSERT_EQ(HandlesOf(box).size(), 8u);
    struct Case {
        const char* name;
        int handle;
        Point to;
        Point first, second;
    } cases[] = {
        {"top-left corner", 0, {0, 5}, {0, 5}, {50, 30}},
        {"top side moves only the top", 1, {99, 0}, {10, 0}, {50, 30}},
        {"right side", 3, {70, 99}, {10, 10}, {70, 30}},
        {"bottom-right corner past the top-left flips the box", 4, {0, 0}, {0, 0}, {10, 10}},
        {"left side", 7, {20, 0}, {20, 10}, {50, 30}},
    };
    for (const Case& c : cases) {
        const Mark r = Resized(box, c.handle, c.to);
        EXPECT_EQ(r.points[0], c.first) << c.name;
        EXPECT_EQ(r.points[1], c.second) << c.name;
    }
    const Mark line = Box(MarkTool::Arrow, {0, 0}, {10, 10});
    EXPECT_EQ(Resized(line, 1, {40, 5}).points[1], (Point{40, 5}));
    EXPECT_EQ(HandleAt(line, {39, 1}, 3), -1);
    EXPECT_EQ(HandleAt(line, {11, 9}, 3), 1);
    EXPECT_TRUE(HandlesOf(Mark{MarkTool::Pen, {}, {{0, 0}, {5, 5}}, {}}).empty());
}

TEST(MarkupDocumentTest, EveryStepUndoesAndRedoesInOrder) {
    MarkupDocument doc;
    for (int i = 0; i < 10; ++i) doc.Add(Box(MarkTool::Rectangle, {i, i}, {i + 10, i + 10}));
    doc.Replace(3, Box(MarkTool::Ellipse, {0, 0}, {5, 5}));
    doc.Remove(0);
    ASSERT_EQ(doc.Marks().size(), 9u);
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Marks().size(), 10u);
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Marks()[3].kind, MarkTool::Rectangle);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.Empty());
    EXPECT_FALSE(doc.Undo());
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(doc.Redo());
    EXPECT_FALSE(doc.Redo());
    EXPECT_EQ(doc.Marks().size(), 9u);
    EXPECT_EQ(doc.Marks()[2].kind, MarkTool::Ellipse);
    // A new step after an undo drops what could be redone.
    doc.Undo();
    doc.Add(Box(MarkTool::Line, {0, 0}, {9, 9}));
    EXPECT_FALSE(doc.CanRedo());
}

TEST(MarkupDocumentTest, ALiveChangeIsOneStepOrNoneAndTheHistoryHasADepth) {
    MarkupDocument doc;
    doc.Add(Box(MarkTool::Rectangle, {0, 0}, {10, 10}));
    doc.BeginLive();
    for (int i = 1; i <= 5; ++i) doc.Live(0) = Moved(doc.Marks()[0], 1, 0);
    doc.FinishLive();
    EXPECT_EQ(doc.Marks()[0].points[0], (Point{5, 0}));
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Marks()[0].points[0], (Point{0, 0}));
    doc.BeginLive();
    doc.Live(0) = Moved(doc.Marks()[0], 3, 3);
    doc.CancelLive();
    EXPECT_EQ(doc.Marks()[0].points[0], (Point{0, 0}));

    MarkupDocument deep;
    for (std::size_t i = 0; i < MarkupDocument::kHistoryDepth + 20; ++i) deep.Add(Box(MarkTool::Line, {0, 0}, {5, 5}));
    std::size_t undone = 0;
    while (deep.Undo()) ++undone;
    EXPECT_EQ(undone, MarkupDocument::kHistoryDepth);
}

TEST(MarkupDocumentTest, StepsAreNumberedByTheirPlaceAndRenumberWhenOneGoes) {
    MarkupDocument doc;
    doc.Add(Mark{MarkTool::Step, {}, {{0, 0}}, {}});
    doc.Add(Box(MarkTool::Rectangle, {0, 0}, {10, 10}));
    doc.Add(Mark{MarkTool::Step, {}, {{20, 0}}, {}});
    doc.Add(Mark{MarkTool::Step, {}, {{40, 0}}, {}});
    EXPECT_EQ(doc.StepNumber(0), 1);
    EXPECT_EQ(doc.StepNumber(2), 2);
    EXPECT_EQ(doc.StepNumber(3), 3);
    doc.Remove(0);
    EXPECT_EQ(doc.StepNumber(1), 1);
    EXPECT_EQ(doc.StepNumber(2), 2);
}

TEST(MarkupStylesTest, AStyleReadsBackAsItWasWrittenAndBadTextsAreNotStyles) {
    MarkStyle s{MarkColour{1, 0xAB, 0xFF}, 5, true, 32};
    EXPECT_EQ(StyleText(s), "01ABFF,5,1,32");
    EXPECT_EQ(ParseStyle(StyleText(s)), s);
    EXPECT_EQ(ParseStyle("FF0000,999,0,1")->width, kMaxMarkWidth);
    EXPECT_EQ(ParseStyle("FF0000,999,0,1")->fontSize, kMinFontSize);
    for (const char* bad : {"", "FF0000", "FF000,3,0,24", "GG0000,3,0,24", "FF0000,3,2,24", "FF0000,3,0,24,1", "FF0000,x,0,24"})
        EXPECT_FALSE(ParseStyle(bad)) << bad;
    EXPECT_EQ(StyleSettingName(MarkTool::Highlighter), "MarkupHighlighter");
}

}  // namespace
}  // namespace vimbrel
