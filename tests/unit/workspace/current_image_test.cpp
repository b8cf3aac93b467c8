#include "workspace/current_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "workspace/zoom.h"
#include "test_pictures.h"

namespace vimbrel {
namespace {

class FakeView : public ImageView {
public:
    void ShowImage1(const Bitmap& image1) override {
        // The real view copies the picture; that copy can run out of memory too.
        if (std::size_t(image1.Width()) * std::size_t(image1.Height()) > copyLimit) throw std::bad_alloc();
        shown.push_back({image1.Width(), image1.Height()});
    }
    void SetStatusText(const std::string& text) override { status = text; }
    void WarningBox(const std::string& text) override { warnings.push_back(text); }
    void UpdateNotesState() override { ++notesRefreshes; }

    std::vector<std::pair<int, int>> shown;
    std::string status = "untouched";
    std::vector<std::string> warnings;
    int notesRefreshes = 0;
    std::size_t copyLimit = SIZE_MAX;
};

class FakeCursor : public CursorPort {
public:
    bool BusyCursorShown() const override { return busy; }
    void ShowBusyCursor(bool on) override {
        busy = on;
        if (on) ++busyShown;
    }
    bool busy = false;
    int busyShown = 0;
};

using testing::Filled;

class CurrentImageTest : public ::testing::Test {
protected:
    CurrentImageTest() : image(commands, view, cursor, [this] { return editorSet; }) { image.Start(); }

    // What a capture does to the current image.
    void Capture(int w, int h, std::uint8_t shade, const std::string& text) {
        image.TakeUndoSnapshot();
        image.ResetZoom();
        image.imgMain = Filled(w, h, shade);
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
        image.CaptureText = text;
        image.ShowCaptureStatus();
    }

    CommandStates commands;
    FakeView view;
    FakeCursor cursor;
    bool editorSet = false;
    CurrentImage image;
};

TEST(ZoomTest, ScaledSidesAndLimits) {
    EXPECT_EQ(ScaledSide(333, 3.0), 999);
    EXPECT_EQ(ScaledSide(5, 0.5), 2);
    EXPECT_EQ(ScaledSide(3, 0.5), 2);
    EXPECT_EQ(ScaledSide(7, 1.0 / 3.0), 2);
    EXPECT_THROW(ScaledSide(Bitmap::kMaxSide, 10.0), EImageTooLarge);
    EXPECT_THROW(ScaledSide(2000000000, 10.0), EImageTooLarge);
}

TEST(ZoomTest, EnlargingRepeatsWholePixels) {
    Bitmap source(2, 2, 24);
    source.SetPixelColour(0, 0, {10, 20, 30, 0});
    source.SetPixelColour(1, 0, {40, 50, 60, 0});
    source.SetPixelColour(0, 1, {70, 80, 90, 0});
    source.SetPixelColour(1, 1, {100, 110, 120, 0});
    Bitmap out = ScaleNearest(source, 6, 6);
    ASSERT_EQ(out.BitsPerPixel(), 24);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(out.PixelColour(x, y), source.PixelColour(x / 3, y / 3)) << x << "," << y;
}

TEST(ZoomTest, ShrinkingDropsPixelsWithoutBlending) {
    Bitmap source(4, 2, 32);
    for (int x = 0; x < 4; ++x) {
        source.SetPixelColour(x, 0, {std::uint8_t(x * 60), 0, 255, 9});
        source.SetPixelColour(x, 1, {0, std::uint8_t(x * 60), 0, 9});
    }
    Bitmap out = ScaleNearest(source, 2, 1);
    ASSERT_EQ(out.BitsPerPixel(), 24);
    EXPECT_EQ(out.PixelColour(0, 0), (RgbQuad{0, 0, 255, 0}));
    EXPECT_EQ(out.PixelColour(1, 0), (RgbQuad{120, 0, 255, 0}));
}

TEST(ZoomTest, PalettePicturesComeOutInTheirColours) {
    Bitmap source(2, 1, 8);
    source.Palette()[0] = {1, 2, 3, 0};
    source.Palette()[7] = {200, 100, 50, 0};
    source.Row(0)[1] = 7;
    Bitmap out = ScaleNearest(source, 4, 2);
    EXPECT_EQ(out.PixelColour(1, 1), (RgbQuad{1, 2, 3, 0}));
    EXPECT_EQ(out.PixelColour(2, 0), (RgbQuad{200, 100, 50, 0}));
    EXPECT_EQ(out.PixelColour(3, 1), (RgbQuad{200, 100, 50, 0}));
}

TEST_F(CurrentImageTest, ZoomSizesRatioAndStatusText) {
    Capture(333, 101, 1, "Full Screen capture");
    image.ZoomItemClick(3);
    EXPECT_EQ(image.Image1().Width(), 999);
    EXPECT_EQ(image.Image1().Height(), 303);
    EXPECT_DOUBLE_EQ(image.ZoomFactor(), 3.0);
    EXPECT_EQ(image.ZoomRatioText(), "3:1");
    EXPECT_EQ(view.status, "(999x 303) - Full Screen capture -  Viewed at: 3:1");
    EXPECT_FALSE(cursor.busy);
    EXPECT_EQ(cursor.busyShown, 1);

    Capture(5, 3, 1, "Selected area captured");
    image.ZoomItemClick(-2);
    EXPECT_EQ(image.Image1().Width(), 2);
    EXPECT_EQ(image.Image1().Height(), 2);
    EXPECT_EQ(view.status, "(2x 2) - Selected area captured -  Viewed at: 1:2");
}

TEST_F(CurrentImageTest, StatusTextAtOneToOne) {
    Capture(800, 600, 1, "Captured: [Untitled - Notepad]");
    EXPECT_EQ(view.status, "(800x 600) - Captured: [Untitled - Notepad]");
    image.ZoomItemClick(-2);
    EXPECT_EQ(view.status, "(400x 300) - Captured: [Untitled - Notepad] -  Viewed at: 1:2");
}

TEST_F(CurrentImageTest, OnlyTheChosenZoomItemIsChecked) {
    Capture(10, 10, 1, "x");
    auto checked = [&] {
        std::vector<CommandName> on;
        for (CommandName name : ZoomItemNames())
            if (commands.Checked(name)) on.push_back(name);
        return on;
    };
    EXPECT_EQ(checked(), (std::vector<CommandName>{cmd::zmi01, cmd::zmo01}));
    image.ZoomItemClick(-10);
    EXPECT_EQ(checked(), (std::vector<CommandName>{cmd::zmo10}));
    EXPECT_EQ(image.Image1().Width(), 1);
    image.ZoomItemClick(5);
    EXPECT_EQ(checked(), (std::vector<CommandName>{cmd::zmi05}));
    image.ZoomItemClick(1);
    EXPECT_EQ(checked(), (std::vector<CommandName>{cmd::zmi01, cmd::zmo01}));
    EXPECT_EQ(image.Image1().Width(), 10);
    image.ZoomItemClick(11);  // zmi11: hidden, no action
    EXPECT_EQ(checked(), (std::vector<CommandName>{cmd::zmi01, cmd::zmo01}));
    EXPECT_FALSE(commands.Visible(cmd::zmi16));
    EXPECT_TRUE(commands.Visible(cmd::zmi10));
}

TEST_F(CurrentImageTest, AddCursorFollowsZoomAndPrinter) {
    Capture(10, 10, 1, "x");
    EXPECT_TRUE(commands.Enabled(cmd::mnuAddCursor));
    image.ZoomItemClick(2);
    EXPECT_FALSE(commands.Enabled(cmd::mnuAddCursor));
    image.ZoomItemClick(-1);
    EXPECT_TRUE(commands.Enabled(cmd::mnuAddCursor));

    commands.SetEnabled(cmd::PrintSetup1, false);  // no printer installed
    image.EnableImageCommands(true);
    image.ZoomItemClick(1);
    EXPECT_FALSE(commands.Enabled(cmd::mnuAddCursor));
}

TEST_F(CurrentImageTest, OutOfMemoryZoomWarnsAndLeavesAnEmptyView) {
    Capture(20000, 1, 1, "x");
    image.ZoomItemClick(10);
    ASSERT_EQ(view.warnings.size(), 1u);
    EXPECT_EQ(view.warnings[0], "Zooming this image to 10:1 is not possible\r\nTry a smaller ratio");
    EXPECT_TRUE(image.Image1().Empty());
    EXPECT_DOUBLE_EQ(image.ZoomFactor(), 10.0);
    EXPECT_EQ(image.imgMain.Width(), 20000);
    EXPECT_FALSE(cursor.busy);
}

TEST_F(CurrentImageTest, ViewLetsGoOfTheOldPictureAndItsOutOfMemoryGetsTheZoomMessage) {
    Capture(40, 30, 1, "x");
    view.shown.clear();
    image.ZoomItemClick(2);
    // Emptied first, so the old and the new shown image are never both held.
    EXPECT_EQ(view.shown, (std::vector<std::pair<int, int>>{{0, 0}, {80, 60}}));

    view.copyLimit = 80 * 60;
    view.shown.clear();
    EXPECT_NO_THROW(image.ZoomItemClick(3));
    ASSERT_EQ(view.warnings.size(), 1u);
    EXPECT_EQ(view.warnings[0], "Zooming this image to 3:1 is not possible\r\nTry a smaller ratio");
    EXPECT_EQ(view.shown.back(), (std::pair<int, int>{0, 0}));
    EXPECT_TRUE(image.Image1().Empty());
    EXPECT_DOUBLE_EQ(image.ZoomFactor(), 3.0);
    EXPECT_FALSE(cursor.busy);
}

TEST_F(CurrentImageTest, FirstSnapshotOnlyPrimes) {
    Capture(4, 4, 1, "first");
    EXPECT_TRUE(image.UndoPrimed());
    EXPECT_FALSE(image.UndoAvailable());
    EXPECT_FALSE(commands.Enabled(cmd::mnuUndo));
    Capture(6, 6, 2, "second");
    EXPECT_TRUE(image.UndoAvailable());
    for (CommandName name : {cmd::mnuUndo, cmd::btnUndo, cmd::popUndo}) EXPECT_TRUE(commands.Enabled(name)) << name;
}

TEST_F(CurrentImageTest, UndoTwiceRestoresOnce) {
    Capture(4, 4, 1, "first");
    image.ZoomItemClick(2);
    Capture(6, 6, 2, "second");
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, Filled(4, 4, 1));
    EXPECT_DOUBLE_EQ(image.ZoomFactor(), 2.0);
    EXPECT_EQ(image.CaptureText, "first");
    EXPECT_EQ(image.Image1().Width(), 8);
    EXPECT_EQ(view.status, "(8x 8) - first -  Viewed at: 2:1");
    for (CommandName name : {cmd::mnuUndo, cmd::btnUndo, cmd::popUndo}) EXPECT_FALSE(commands.Enabled(name)) << name;

    image.imgMain = Filled(3, 3, 7);
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, Filled(3, 3, 7));
}

TEST_F(CurrentImageTest, ClearKeepsThePictureAndUndoBringsItBack) {
    Capture(4, 4, 1, "first");
    image.CurrentFileName = "C:\\a.bmp";
    image.Clear1Click();
    EXPECT_TRUE(image.Image1().Empty());
    EXPECT_EQ(view.shown.back(), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(view.status, "");
    EXPECT_FALSE(commands.Enabled(cmd::Clear1));
    EXPECT_FALSE(commands.Enabled(cmd::Print1));
    EXPECT_EQ(image.imgMain, Filled(4, 4, 1));
    EXPECT_EQ(image.CurrentFileName, "C:\\a.bmp");

    image.mnuUndoClick();
    EXPECT_EQ(image.Image1().Width(), 4);
    EXPECT_TRUE(commands.Enabled(cmd::Clear1));
    EXPECT_TRUE(commands.Enabled(cmd::Print1));
    EXPECT_EQ(view.status, "(4x 4) - first");
}

TEST_F(CurrentImageTest, StartStateHasNothingEnabled) {
    EXPECT_FALSE(commands.Enabled(cmd::Clear1));
    EXPECT_FALSE(commands.Enabled(cmd::mnuUndo));
    EXPECT_TRUE(commands.Enabled(cmd::mnuCaptureAreaNow));
    EXPECT_DOUBLE_EQ(image.ZoomFactor(), 1.0);
    EXPECT_EQ(image.DragOrigin, (Point{-1, -1}));
    EXPECT_GE(view.notesRefreshes, 1);
}

struct EnablingCase {
    const char* name;
    bool present, printer, editor;
    int width;
    bool expectPlain, expectPrint, expectEditor;
};

class EnablingTableTest : public CurrentImageTest, public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(EnablingTableTest, FollowsPictureRulesPrinterAndEditor) {
    const EnablingCase& c = GetParam();
    commands.SetEnabled(cmd::PrintSetup1, c.printer);
    editorSet = c.editor;
    image.imgMain = Bitmap(c.width, c.width, 24);
    int refreshes = view.notesRefreshes;
    image.EnableImageCommands(c.present);
    EXPECT_EQ(view.notesRefreshes, refreshes + 1);
    for (CommandName n : {cmd::SaveAs1, cmd::SaveAs2, cmd::mnuSaveEncrypted, cmd::Clear1, cmd::mnuCopy, cmd::mOptGrey, cmd::btnSave,
                          cmd::btnCopy, cmd::btnClear, cmd::btnCrop, cmd::popClear, cmd::popCopy, cmd::popCrop, cmd::popGrey, cmd::popSave,
                          cmd::mnuZoomIn, cmd::mnuZoomOut, cmd::mnuAddCursor, cmd::mnuSendMail, cmd::btnEmail})
        EXPECT_EQ(commands.Enabled(n), c.expectPlain) << n;
    for (CommandName n : {cmd::Print1, cmd::PrintButton, cmd::popPrint, cmd::PrintPreview1, cmd::btnPrtPreview, cmd::popPreview})
        EXPECT_EQ(commands.Enabled(n), c.expectPrint) << n;
    for (CommandName n : {cmd::mnuEditor, cmd::popSendToEditor}) EXPECT_EQ(commands.Enabled(n), c.expectEditor) << n;
    for (CommandName n : {cmd::mnuEncryption, cmd::mnuCaptureAreaNow, cmd::btnSelect, cmd::mnuAutoSave, cmd::popAutoSave, cmd::popEmail})
        EXPECT_TRUE(commands.Enabled(n)) << n;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnablingTableTest,
    ::testing::Values(EnablingCase{"PictureWithPrinterAndEditor", true, true, true, 5, true, true, true},
                      EnablingCase{"PictureWithoutPrinter", true, false, true, 5, true, false, true},
                      EnablingCase{"PictureWithoutEditor", true, true, false, 5, true, true, false},
                      EnablingCase{"EmptyPictureCannotPrint", true, true, true, 0, true, false, true},
                      EnablingCase{"NoPicture", false, true, true, 5, false, false, false}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(CurrentImageTest, UndoControlsAndPasteAreLeftAlone) {
    commands.SetEnabled(cmd::mnuPaste, true);
    commands.SetEnabled(cmd::Save1, false);
    Capture(2, 2, 1, "a");
    Capture(2, 2, 2, "b");
    image.EnableImageCommands(false);
    EXPECT_TRUE(commands.Enabled(cmd::mnuUndo));
    EXPECT_TRUE(commands.Enabled(cmd::mnuPaste));
    EXPECT_FALSE(commands.Enabled(cmd::Save1));
}

TEST(BusyCursorTest, RestoresWhatWasShownAlsoOnException) {
    FakeCursor cursor;
    try {
        BusyCursor outer(cursor);
        {
            BusyCursor inner(cursor);
        }
        EXPECT_TRUE(cursor.busy);
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(cursor.busy);
}

}  // namespace
}  // namespace vimbrel
