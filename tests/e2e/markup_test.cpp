// Marking up a picture from outside, as a user does: each tool chosen by its key and drawn
// with the mouse, then the marks are in the numbered bitmap, the PNG saved through the
// dialog and the clipboard copy; the redaction box holds none of the detail below it; and
// ten steps undo and redo with Ctrl+Z and Ctrl+Y.
#include <gtest/gtest.h>

#include <cstdlib>

#include "saved_picture.h"
#include "test_pictures.h"
#include "vimbrel_process.h"
#include "workspace/image_file.h"
#include "workspace/win32/dib.h"

namespace e2e {
namespace {

using vimbrel::Bitmap;
using vimbrel::RgbQuad;
using vimbrel::testing::SamePixels;

constexpr int kGrey = 128;
// The fine detail a redaction box must hide: a checkerboard of black and white.
constexpr RECT kDetail{200, 120, 280, 180};

Bitmap Original() {
    Bitmap b(320, 200, 24);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const bool detail = x >= kDetail.left && x < kDetail.right && y >= kDetail.top && y < kDetail.bottom;
            const std::uint8_t v = detail ? ((x + y) % 2 ? 255 : 0) : kGrey;
            b.SetPixelColour(x, y, RgbQuad{v, v, v, 0});
        }
    return b;
}

bool Reddish(RgbQuad p) { return p.red > 180 && p.green < 90 && p.blue < 90; }

// Whether any pixel of the square of `radius` around (x, y) passes.
template <class Test>
bool Near(const Bitmap& b, int x, int y, int radius, Test&& test) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (test(b.PixelColour(x + dx, y + dy))) return true;
    return false;
}

void Pause(std::chrono::milliseconds ms) {
    WaitFor([] { return false; }, ms);
}

class MarkupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
        WriteSetting("AutoPrefix", "Marked");
        WriteSetting("AutoExt", ".bmp");
    }

    POINT At(int x, int y) const { return PictureOnScreen(main, x, y); }
    void Key(WORD key) {
        PressKeys({key});
        Pause(100ms);
    }
    void Drag(POINT from, POINT to) {
        DragMouse(At(from.x, from.y), At(to.x, to.y));
        Pause(150ms);
    }
    void Click(int x, int y) {
        const POINT p = At(x, y);
        SendMouse(p.x, p.y);
        SendMouse(p.x, p.y, MOUSEEVENTF_LEFTDOWN);
        SendMouse(p.x, p.y, MOUSEEVENTF_LEFTUP);
        Pause(150ms);
    }
    // Ctrl+F2: the next numbered file, read back once whole.
    std::optional<Bitmap> SaveNumbered(int number) {
        PressKeys({VK_CONTROL, VK_F2});
        char name[32];
        std::snprintf(name, sizeof name, "Marked-%05d.bmp", number);
        return WaitForPicture(folder + name);
    }

    HWND main = nullptr;
    std::string folder;
};

TEST_F(MarkupTest, EachToolDrawsWithTheMouseAndTheMarksLeaveInEveryFileAndCopyAndUndoAndRedoTenSteps) {
    VimbrelProcess app("markup");
    folder = app.Folder();
    WriteSetting("AutoSavePath", folder.substr(0, folder.size() - 1));
    const std::string source = folder + "original.bmp";
    vimbrel::WriteImageFile(Original(), source);
    ASSERT_TRUE(app.Start("\"" + source + "\""));
    main = app.MainWindow();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }));
    ASSERT_TRUE(InFront(main));
    ASSERT_NE(FindDescendantOfClass(main, "TScrollBox"), nullptr);
    Pause(300ms);

    Key('R');
    Drag({20, 20}, {100, 70});
    Key('E');
    Drag({120, 20}, {180, 70});
    Key('L');
    Drag({20, 100}, {100, 100});
    Key('A');
    Drag({20, 140}, {100, 140});
    Key('P');
    Drag({120, 100}, {180, 130});
    Key('H');
    Drag({120, 160}, {180, 160});
    Key('T');
    Click(200, 20);
    Key('H');
    Key('I');
    Key(VK_ESCAPE);
    Key('N');
    Click(215, 80);
    Click(260, 80);
    Key('X');
    Drag({kDetail.left, kDetail.top}, {kDetail.right, kDetail.bottom});
    Key(VK_ESCAPE);  // the last mark unselected: no handles in the view

    const std::optional<Bitmap> marked = SaveNumbered(1);
    ASSERT_TRUE(marked.has_value());
    const Bitmap& m = *marked;
    EXPECT_TRUE(Near(m, 21, 45, 1, Reddish)) << "the rectangle's left border";
    EXPECT_EQ(m.PixelColour(60, 45).red, kGrey) << "inside the rectangle";
    EXPECT_TRUE(Near(m, 150, 20, 1, Reddish)) << "the ellipse's top";
    EXPECT_TRUE(Near(m, 60, 100, 1, Reddish)) << "the line";
    EXPECT_TRUE(Near(m, 93, 144, 1, Reddish)) << "the arrow head, wider than its shaft";
    EXPECT_FALSE(Near(m, 60, 144, 1, Reddish)) << "beside the arrow's shaft";
    EXPECT_TRUE(Near(m, 150, 115, 2, Reddish)) << "the pen's stroke";
    const RgbQuad highlight = m.PixelColour(150, 160);
    EXPECT_GT(highlight.red, 150) << "the highlight, yellow";
    EXPECT_LT(highlight.blue, 100) << "the highlight, yellow";
    EXPECT_GT(highlight.blue, 40) << "the picture shows through the highlight";
    EXPECT_TRUE(Near(m, 208, 32, 8, Reddish)) << "the typed text";
    EXPECT_TRUE(Near(m, 205, 80, 1, Reddish)) << "the first step's circle";
    auto light = [](RgbQuad p) { return p.red > 200 && p.green > 200 && p.blue > 200; };
    EXPECT_TRUE(Near(m, 215, 80, 6, light)) << "the first step's number";
    EXPECT_TRUE(Near(m, 260, 80, 6, light)) << "the second step's number";
    // Nothing of the checkerboard is left: each block is one average, near its grey.
    for (int y = kDetail.top + 2; y < kDetail.bottom - 2; ++y)
        for (int x = kDetail.left + 2; x < kDetail.right - 2; ++x) {
            const RgbQuad p = m.PixelColour(x, y);
            ASSERT_LE(std::abs(p.red - kGrey), 3) << x << "," << y;
            ASSERT_EQ(p.red, p.blue) << x << "," << y;
        }
    const Bitmap original = Original();
    EXPECT_TRUE(SamePixels(*vimbrel::LoadImageFile(source), original)) << "the opened file stays as it was";

    // The PNG through the save dialog, and the clipboard copy, hold the same marks.
    ASSERT_TRUE(app.PostMenuCommand("Save Image &As..."));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", folder + "marked.png"));
    const std::optional<Bitmap> png = WaitForPicture(folder + "marked.png");
    ASSERT_TRUE(png.has_value());
    EXPECT_TRUE(SamePixels(*png, m));
    ASSERT_TRUE(app.PostMenuCommand("&Copy to Clipboard"));
    std::optional<Bitmap> copied;
    EXPECT_TRUE(WaitFor([&] {
        copied = ClipboardPicture();
        return copied && SamePixels(*copied, m);
    })) << (copied ? std::to_string(copied->Width()) + " x " + std::to_string(copied->Height()) : "no picture copied");

    // Ten steps back leave the picture as it was opened, ten forward bring every mark back.
    ASSERT_TRUE(InFront(main));
    for (int i = 0; i < 10; ++i) {
        PressKeys({VK_CONTROL, 'Z'});
        Pause(80ms);
    }
    const std::optional<Bitmap> undone = SaveNumbered(2);
    ASSERT_TRUE(undone.has_value());
    EXPECT_TRUE(SamePixels(*undone, original));
    for (int i = 0; i < 10; ++i) {
        PressKeys({VK_CONTROL, 'Y'});
        Pause(80ms);
    }
    const std::optional<Bitmap> redone = SaveNumbered(3);
    ASSERT_TRUE(redone.has_value());
    EXPECT_TRUE(SamePixels(*redone, m));
    ASSERT_TRUE(app.Exit());
    EXPECT_EQ(ReadSetting("MarkupRectangle"), std::nullopt) << "no style was changed, none is written";
}

}  // namespace
}  // namespace e2e
