// The clipboard as other programs use it: a bitmap put there becomes the picture when
// watching is on (not while a capture holds the hotkeys off), the program's own copies are
// never taken back, the viewer chain survives another viewer joining and leaving, Copy at
// 1:2 hands over the half-size picture; greys can be saved at once; and a crop at 2:1 keeps
// the picture's own scale.
#include <gtest/gtest.h>

#include "app/main_commands.h"
#include "saved_picture.h"
#include "test_pictures.h"
#include "vimbrel_process.h"
#include "workspace/image_file.h"
#include "workspace/win32/dib.h"

namespace e2e {
namespace {

using vimbrel::Bitmap;
using vimbrel::testing::Pattern;
using vimbrel::testing::SamePixels;

// Puts the picture on the clipboard as another program would.
void PutOnClipboard(const Bitmap& picture) {
    vimbrel::win32::DibInfo info = vimbrel::win32::MakeDibInfo(picture);
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateDIBitmap(screen, &info.header, CBM_INIT, picture.Data(), info.get(), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, bitmap);
    ::CloseClipboard();
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
        WriteSetting("PopUp", "1");
        WriteSetting("AutoPrefix", "Clip");
        WriteSetting("AutoExt", ".bmp");
    }
};

TEST_F(EditTest, AWatchedClipboardBitmapBecomesThePictureAndIsSavedAndTheChainSurvivesAnotherViewer) {
    WriteSetting("WatchClips", "1");
    WriteSetting("AutoSave", "On");
    VimbrelProcess app("clip-watch");
    WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1));
    ASSERT_TRUE(app.Start());

    PutOnClipboard(Pattern(64, 48, 24));
    const std::optional<Bitmap> pasted = WaitForPicture(app.Folder() + "Clip-00001.bmp");
    ASSERT_TRUE(pasted.has_value()) << "watched, pasted and saved";
    EXPECT_TRUE(SamePixels(*pasted, Pattern(64, 48, 24)));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; })) << "PopUp brings it up";

    // Another viewer joins in front and leaves again: the program still hears of changes.
    HWND viewer = ::CreateWindowExA(0, "STATIC", "viewer", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HWND next = ::SetClipboardViewer(viewer);
    WaitFor([] { return false; }, 200ms);
    ::ChangeClipboardChain(viewer, next);
    ::DestroyWindow(viewer);
    PutOnClipboard(Pattern(30, 20, 24));
    EXPECT_TRUE(WaitFor([&] { return Exists(app.Folder() + "Clip-00002.bmp"); }));

    // While an area capture holds the hotkeys off, a clipboard change is ignored.
    PressKeys({VK_LWIN, VK_SNAPSHOT});
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (overlay = FindProcessWindow(app.ProcessId(), "TfrmCapArea", "frmCapArea")) != nullptr &&
                                     ::IsWindowVisible(overlay); }));
    PutOnClipboard(Pattern(10, 10, 24));
    WaitFor([] { return false; }, 1s);
    ::PostMessageA(overlay, WM_CLOSE, 0, 0);  // closed without a selection
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(overlay); }));
    WaitFor([] { return false; }, 500ms);
    EXPECT_FALSE(Exists(app.Folder() + "Clip-00003.bmp")) << "nothing pasted while busy";
    EXPECT_TRUE(app.Exit());
}

TEST_F(EditTest, PasteThenCopyAtOneToTwoGivesTheHalfSizePicture) {
    VimbrelProcess app("clip-copy");
    ASSERT_TRUE(app.Start());
    PutOnClipboard(Pattern(80, 60, 24));
    ASSERT_TRUE(app.PostMenuCommand("&Paste from Clipboard"));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; })) << "pasted, and PopUp brings it up";
    ASSERT_TRUE(app.PostMenuCommand("1 :  2"));
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("(40x 30)") == 0; })) << StatusText(app.MainWindow());
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    ASSERT_TRUE(app.PostMenuCommand("&Copy to Clipboard"));
    std::optional<Bitmap> copied;
    ASSERT_TRUE(WaitFor([&] { return (copied = ClipboardPicture()).has_value(); }));
    EXPECT_EQ(copied->Width(), 40);
    EXPECT_EQ(copied->Height(), 30);
    EXPECT_TRUE(app.Exit());
}

TEST_F(EditTest, WatchingTakesNoneOfTheProgramsOwnCopiesBack) {
    WriteSetting("WatchClips", "1");
    WriteSetting("AutoClipCopy", "1");
    WriteSetting("AutoSave", "On");
    VimbrelProcess app("clip-own");
    WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1));
    ASSERT_TRUE(app.Start());

    PressKeys({VK_SNAPSHOT});
    ASSERT_TRUE(WaitFor([&] { return Exists(app.Folder() + "Clip-00001.bmp"); })) << "captured, copied and saved";
    WaitFor([] { return false; }, 1500ms);
    EXPECT_FALSE(Exists(app.Folder() + "Clip-00002.bmp")) << "the automatic copy was taken as a second capture";

    // Copy at 1:2 hands out the half-size picture and keeps the full-size one.
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    const std::string half = "(" + std::to_string(w / 2) + "x " + std::to_string(h / 2) + ")";
    ASSERT_TRUE(app.PostMenuCommand("1 :  2"));
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find(half) == 0; })) << StatusText(app.MainWindow());
    ASSERT_TRUE(app.PostMenuCommand("&Copy to Clipboard"));
    std::optional<Bitmap> copied;
    ASSERT_TRUE(WaitFor([&] { return (copied = ClipboardPicture()).has_value() && copied->Width() == w / 2; }));
    WaitFor([] { return false; }, 1s);
    EXPECT_FALSE(Exists(app.Folder() + "Clip-00002.bmp")) << "the copy was pasted back";
    EXPECT_EQ(StatusText(app.MainWindow()).find(half), 0u) << StatusText(app.MainWindow());
    EXPECT_TRUE(app.Exit());
}

TEST_F(EditTest, APictureTurnedGreyCanBeSavedAtOnce) {
    VimbrelProcess app("greys-save");
    ASSERT_TRUE(app.Start());
    PutOnClipboard(Pattern(40, 30, 24));
    ASSERT_TRUE(app.PostMenuCommand("&Paste from Clipboard"));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    ASSERT_TRUE(app.PostMenuCommand("Convert to &Greys"));
    WaitFor([] { return false; }, 500ms);
    ::SetForegroundWindow(app.MainWindow());
    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + "grey")) << "Save is enabled";
    const std::optional<Bitmap> saved = WaitForPicture(app.Folder() + "grey.bmp");
    ASSERT_TRUE(saved);
    const vimbrel::RgbQuad c = saved->PixelColour(20, 15);
    EXPECT_TRUE(c.red == c.green && c.green == c.blue) << "the grey picture was saved";
    EXPECT_TRUE(app.Exit());
}

TEST_F(EditTest, ACropAtTwoToOneKeepsThePicturesOwnScale) {
    VimbrelProcess app("crop");
    WriteSetting("AutoSavePath", app.Folder().substr(0, app.Folder().size() - 1));
    ASSERT_TRUE(app.Start());
    PutOnClipboard(Pattern(300, 200, 24));
    ASSERT_TRUE(app.PostMenuCommand("&Paste from Clipboard"));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    ASSERT_TRUE(app.PostMenuCommand("  2 : 1"));
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("(600x 400)") == 0; })) << StatusText(app.MainWindow());

    ::PostMessageA(app.MainWindow(), WM_COMMAND, MAKEWPARAM(vimbrel::MainCommandTable().Id(vimbrel::cmd::btnCrop), 0), 0);
    HWND overlay = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (overlay = FindProcessWindow(app.ProcessId(), "TfrmCapArea", "frmCapArea")) != nullptr &&
                                     ::IsWindowVisible(overlay); }));
    WaitFor([] { return false; }, 300ms);
    // A 200 x 100 drag over the shown picture, inside the box that shows it.
    POINT at{10, 10};
    ::ClientToScreen(::FindWindowExA(app.MainWindow(), nullptr, "TScrollBox", nullptr), &at);
    DragMouse(at, POINT{at.x + 200, at.y + 100});
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("(200x 100) - Selected area captured") == 0; }))
        << "shown at 2:1: " << StatusText(app.MainWindow());

    // The picture itself is half the dragged size: saved by Ctrl+F2 to see it.
    ::SetForegroundWindow(app.MainWindow());
    PressKeys({VK_CONTROL, VK_F2});
    const std::optional<Bitmap> saved = WaitForPicture(app.Folder() + "Clip-00001.bmp");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Width(), 100);
    EXPECT_EQ(saved->Height(), 50);
    EXPECT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
