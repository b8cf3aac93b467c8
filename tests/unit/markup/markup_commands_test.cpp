#include <gtest/gtest.h>

#include "block_text_shaper.h"
#include "command_fakes.h"
#include "markup/markup_commands.h"
#include "workspace/image_file.h"

namespace vimbrel {
namespace {

struct RecordingCanvas : MarkupCanvas {
    void Repaint(const Rect&) override { ++repaints; }
    void RepaintAll() override { ++repaints; }
    std::optional<MarkColour> AskColour(MarkColour) override { return answer; }
    void ToolChanged(MarkTool t) override { tool = t; }
    int repaints = 0;
    std::optional<MarkColour> answer;
    MarkTool tool = MarkTool::Select;
};

class MarkupCommandsTest : public fakes::FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        image.TakeUndoSnapshotAndReplace(testing::Filled(120, 80, 200));
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
    }
    void Drag(Point from, Point to) {
        ASSERT_TRUE(markup.MouseDown(MouseButton::Left, from, 4));
        markup.MouseMove(to);
        markup.MouseUp(MouseButton::Left, to);
    }
    RgbQuad SavedPixel(const std::string& name, int x, int y) {
        cmd.WriteImageFile(Path(name), false, false);
        auto saved = LoadImageFile(Path(name));
        return saved ? saved->PixelColour(x, y) : RgbQuad{1, 2, 3, 4};
    }

    testing::BlockTextShaper shaper;
    RecordingCanvas canvas;
    MarkupCommands markup{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder},
                          shaper, canvas};
};

TEST_F(MarkupCommandsTest, ASavedFileHoldsTheMarksAndThePictureItselfStaysUnmarked) {
    ASSERT_TRUE(markup.Key('R', false, false));
    EXPECT_EQ(canvas.tool, MarkTool::Rectangle);
    EXPECT_TRUE(commands.Checked(cmd::mnuMarkRectangle));
    Drag({10, 10}, {60, 50});
    const RgbQuad border = SavedPixel("marked.bmp", 11, 30);
    EXPECT_EQ(border.red, 220);
    EXPECT_EQ(border.green, 30);
    EXPECT_EQ(image.imgMain.PixelColour(11, 30).blue, 200) << "the marks stay marks";
    // Copy, the editor and the printer take the same outgoing picture.
    EXPECT_EQ(image.Outgoing(true).PixelColour(11, 30).red, 220);
}

TEST_F(MarkupCommandsTest, AtAZoomTheShownCopyCarriesTheMarksAtThatZoom) {
    markup.ChooseTool(MarkTool::Rectangle);
    Drag({10, 10}, {60, 50});
    image.SetZoom(2, 1);
    const Bitmap& shown = image.Outgoing(true);
    EXPECT_EQ(shown.Width(), 240);
    EXPECT_EQ(shown.PixelColour(22, 60).red, 220);
    EXPECT_EQ(shown.PixelColour(30, 60).blue, 200);
}

TEST_F(MarkupCommandsTest, ANewPictureReplacesTheMarksAndGreysKeepThem) {
    markup.ChooseTool(MarkTool::Ellipse);
    Drag({10, 10}, {60, 50});
    ASSERT_FALSE(markup.Empty());
    image.TakeUndoSnapshotAndReplace(testing::Filled(50, 50, 10));
    EXPECT_TRUE(markup.Empty());
    EXPECT_FALSE(markup.Document().CanUndo());
    EXPECT_EQ(&image.Outgoing(false), &image.imgMain) << "nothing marked, nothing copied";
}

TEST_F(MarkupCommandsTest, CtrlZUndoesMarkupFirstAndThenIsThePicturesUndoAgain) {
    markup.ChooseTool(MarkTool::Line);
    Drag({0, 0}, {50, 50});
    Drag({0, 50}, {50, 0});
    EXPECT_TRUE(commands.Enabled(cmd::mnuMarkUndo));
    EXPECT_TRUE(markup.Key('Z', true, false));
    EXPECT_TRUE(markup.Key('Z', true, false));
    EXPECT_TRUE(markup.Empty());
    EXPECT_FALSE(commands.Enabled(cmd::mnuMarkUndo));
    EXPECT_FALSE(markup.Key('Z', true, false)) << "the menu's shortcut, the picture's Undo, runs";
    EXPECT_TRUE(markup.Key('Y', true, false));
    EXPECT_EQ(markup.Document().Marks().size(), 1u);
}

TEST_F(MarkupCommandsTest, TextIsTypedThroughKeysAndCharactersAndToolKeysDoNotInterrupt) {
    markup.ChooseTool(MarkTool::Text);
    ASSERT_TRUE(markup.MouseDown(MouseButton::Left, {5, 5}, 4));
    markup.MouseUp(MouseButton::Left, {5, 5});
    ASSERT_TRUE(markup.EditingText());
    for (char32_t c : std::u32string(U"RX")) EXPECT_TRUE(markup.Char(c));
    EXPECT_FALSE(markup.Key('R', false, false)) << "a letter goes on to be typed, not to choose a tool";
    EXPECT_EQ(markup.Tool(), MarkTool::Text);
    EXPECT_TRUE(markup.Key(markup_keys::kBack, false, false));
    EXPECT_TRUE(markup.Key(markup_keys::kEscape, false, false));
    EXPECT_FALSE(markup.EditingText());
    EXPECT_EQ(markup.Document().Marks()[0].text, "R");
}

TEST_F(MarkupCommandsTest, TheLastStyleOfEachToolIsRememberedInTheSettings) {
    markup.ChooseTool(MarkTool::Arrow);
    markup.ChooseColour(4);
    markup.ChooseWidth(8);
    EXPECT_EQ(store.Read("MarkupArrow"), "1E64DC,8,0,24");
    canvas.answer.reset();
    markup.ChooseColour(-1);  // the colour dialog cancelled
    EXPECT_EQ(store.Read("MarkupArrow"), "1E64DC,8,0,24");
    MarkupCommands again{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder},
                         shaper, canvas};
    again.ChooseTool(MarkTool::Arrow);
    EXPECT_TRUE(commands.Checked(cmd::mnuMarkWidth8));
    EXPECT_TRUE(commands.Checked(cmd::mnuMarkColour4));
}

TEST_F(MarkupCommandsTest, AStampArmedOrAnotherButtonLeavesThePressToTheView) {
    markup.ChooseTool(MarkTool::Pen);
    image.StampCursor = 1;
    EXPECT_FALSE(markup.MouseDown(MouseButton::Left, {5, 5}, 4));
    image.StampCursor = 0;
    EXPECT_FALSE(markup.MouseDown(MouseButton::Right, {5, 5}, 4));
    ASSERT_TRUE(markup.MouseDown(MouseButton::Left, {5, 5}, 4));
    markup.MouseMove({30, 30});
    EXPECT_TRUE(markup.MouseDown(MouseButton::Right, {30, 30}, 4)) << "a right press calls the stroke off";
    EXPECT_TRUE(markup.Empty());
}

}  // namespace
}  // namespace vimbrel
