#include <gtest/gtest.h>

#include "block_text_shaper.h"
#include "markup/markup_editor.h"

namespace vimbrel {
namespace {

class MarkupEditorTest : public ::testing::Test {
protected:
    void DragWith(MarkTool tool, Point from, Point to) {
        editor.SetTool(tool);
        EXPECT_TRUE(editor.Press(from, 3));
        editor.Drag(Point{(from.x + to.x) / 2, (from.y + to.y) / 2});
        editor.Release(to);
    }

    testing::BlockTextShaper shaper;
    MarkupDocument doc;
    MarkupEditor editor{doc, shaper};
};

TEST_F(MarkupEditorTest, EachDrawingToolMakesOneMarkOfItsKindInItsStyle) {
    const MarkTool tools[] = {MarkTool::Rectangle, MarkTool::Ellipse, MarkTool::Line, MarkTool::Arrow,
                              MarkTool::Pen,       MarkTool::Highlighter, MarkTool::Redact};
    int y = 0;
    std::size_t made = 0;
    for (MarkTool tool : tools) {
        DragWith(tool, {100, y + 40}, {10, y});
        ASSERT_EQ(doc.Marks().size(), ++made);
        const Mark& m = doc.Marks().back();
        EXPECT_EQ(m.kind, tool);
        EXPECT_EQ(m.style, DefaultStyle(tool));
        EXPECT_EQ(doc.Selected(), int(doc.Marks().size()) - 1);
        y += 50;
    }
    // A pen keeps its path; a box keeps its two corners as drawn.
    EXPECT_EQ(doc.Marks()[4].points.size(), 3u);
    EXPECT_EQ(doc.Marks()[0].points[1], (Point{10, 0}));
}

TEST_F(MarkupEditorTest, AClickWithABoxToolKeepsNothingAndLeavesNoStep) {
    DragWith(MarkTool::Rectangle, {10, 10}, {11, 10});
    EXPECT_TRUE(doc.Empty());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(MarkupEditorTest, TheSelectToolMovesAMarkAndResizesItByAHandleEachAsOneStep) {
    DragWith(MarkTool::Rectangle, {10, 10}, {50, 30});
    editor.SetTool(MarkTool::Select);
    EXPECT_FALSE(editor.Press({200, 200}, 3)) << "a press on no mark is the view's";
    EXPECT_EQ(doc.Selected(), -1);
    ASSERT_TRUE(editor.Press({30, 10}, 3));  // on the top border
    editor.Drag({35, 15});
    editor.Release({40, 20});
    EXPECT_EQ(doc.Marks()[0].points[0], (Point{20, 20}));
    ASSERT_TRUE(editor.Press({60, 40}, 3));  // the bottom-right handle
    editor.Release({80, 90});
    EXPECT_EQ(doc.Marks()[0].points[1], (Point{80, 90}));
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(doc.Marks()[0].points[1], (Point{60, 40}));
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(doc.Marks()[0].points[0], (Point{10, 10}));
}

TEST_F(MarkupEditorTest, ArrowKeysMoveTheSelectedMarkAndDeleteRemovesIt) {
    DragWith(MarkTool::Line, {0, 0}, {20, 20});
    EXPECT_TRUE(editor.MoveSelected(10, -1));
    EXPECT_EQ(doc.Marks()[0].points[0], (Point{10, -1}));
    EXPECT_TRUE(editor.DeleteSelected());
    EXPECT_TRUE(doc.Empty());
    EXPECT_FALSE(editor.DeleteSelected());
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(doc.Marks().size(), 1u);
}

TEST_F(MarkupEditorTest, TypingFillsATextBoxAndAnEmptyOneLeavesNoTrace) {
    editor.SetTool(MarkTool::Text);
    ASSERT_TRUE(editor.Press({5, 5}, 3));
    ASSERT_TRUE(editor.EditingText());
    for (char32_t c : std::u32string(U"Hi\u00e9\r2")) editor.Type(c);
    editor.Type(U'x');
    editor.Type(U'\b');
    editor.Type(U'\u00e9');
    editor.Type(U'\b');  // a two-byte character goes whole
    editor.Type(0x07);   // control characters are not text
    editor.FinishText();
    ASSERT_EQ(doc.Marks().size(), 1u);
    EXPECT_EQ(doc.Marks()[0].text, "Hi\xc3\xa9\n2");
    EXPECT_TRUE(doc.CanUndo());

    ASSERT_TRUE(editor.Press({300, 300}, 3));
    editor.Cancel();  // Escape with nothing typed
    EXPECT_EQ(doc.Marks().size(), 1u);
    EXPECT_TRUE(editor.Undo());
    EXPECT_TRUE(doc.Empty()) << "the empty box was no step of its own";
}

TEST_F(MarkupEditorTest, AStyleChangeRestylesTheSelectedMarkAndIsTheToolsNextStyle) {
    DragWith(MarkTool::Ellipse, {0, 0}, {30, 30});
    editor.ChangeStyle([](MarkStyle& s) { s.width = 8; });
    EXPECT_EQ(doc.Marks()[0].style.width, 8);
    EXPECT_EQ(editor.StyleOf(MarkTool::Ellipse).width, 8);
    EXPECT_EQ(editor.StyleOf(MarkTool::Rectangle).width, DefaultStyle(MarkTool::Rectangle).width);
    EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(doc.Marks()[0].style.width, DefaultStyle(MarkTool::Ellipse).width);
}

TEST_F(MarkupEditorTest, EscapeCallsOffADrawingUnderWayAndClearForgetsEverything) {
    editor.SetTool(MarkTool::Arrow);
    editor.Press({0, 0}, 3);
    editor.Drag({40, 40});
    ASSERT_NE(editor.Drawing(), nullptr);
    editor.Cancel();
    EXPECT_EQ(editor.Drawing(), nullptr);
    EXPECT_TRUE(doc.Empty());
    DragWith(MarkTool::Rectangle, {0, 0}, {9, 9});
    editor.Clear();
    EXPECT_TRUE(doc.Empty());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_TRUE(editor.TakeChanges().all);
}

}  // namespace
}  // namespace vimbrel
