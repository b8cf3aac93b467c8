// The edit commands over a fake clipboard and window: paste and its tail, clipboard
// watching, the chain's rules, greys with undo, cursor stamps and drag scrolling.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "workspace/clipboard_chain.h"
#include "capture/capture_commands.h"
#include "workspace/edit_commands.h"
#include "workspace/bmp_file.h"
#include "workspace/image_errors.h"
#include "workspace/image_file.h"
#include "workspace/png_file.h"
#include "fake_ports.h"
#include "scratch_folder.h"

namespace vimbrel {
namespace {

using testing::Filled;

struct Fakes : testing::FakeWindow, Clipboard, StampPainter, Screen, AreaOverlay, CaptureDesktop, testing::NoRegistrar {
    std::optional<Bitmap> clipboardBitmap;  // CF_BITMAP
    std::map<ClipboardFormat, std::vector<std::uint8_t>> clipboardData;
    std::vector<std::string> droppedFiles;
    bool clipboardText = false;
    bool ownCopy = false;
    bool console = false;

    void PutPicture(const Bitmap& picture, std::span<const std::uint8_t> dib, std::span<const std::uint8_t> png) override {
        clipboardBitmap = picture;
        clipboardData = {{ClipboardFormat::Dib, {dib.begin(), dib.end()}}, {ClipboardFormat::Png, {png.begin(), png.end()}}};
        droppedFiles.clear();
        ownCopy = true;
    }
    bool HoldsOwnCopy() override { return ownCopy; }
    bool Holds(ClipboardFormat format) override {
        if (format == ClipboardFormat::Bitmap) return clipboardBitmap.has_value();
        if (format == ClipboardFormat::FileDrop) return !droppedFiles.empty();
        return clipboardData.count(format) != 0;
    }
    bool HasText() override { return clipboardText; }
    std::optional<std::vector<std::uint8_t>> GetData(ClipboardFormat format, std::size_t maxBytes) override {
        auto item = clipboardData.find(format);
        if (item == clipboardData.end()) return std::nullopt;
        if (item->second.size() > maxBytes) throw EInvalidGraphic("too large");
        return item->second;
    }
    std::optional<Bitmap> GetBitmap() override { return clipboardBitmap; }
    std::vector<std::string> DroppedFiles() override { return droppedFiles; }

    void Draw(int stamp, Bitmap& picture, Point at) override {
        log.push_back("stamp " + std::to_string(stamp) + " into " + std::to_string(picture.Width()) + " at " +
                      std::to_string(at.x) + "," + std::to_string(at.y));
    }

    void GrabScreen(Bitmap&) override {}
    std::optional<Rect> GrabWindow(WindowId, Bitmap&) override { return {}; }
    void DrawMouseCursor(Bitmap&, Point, bool) override {}
    AreaChoice Run() override { return {}; }
    bool ConsoleInForeground() override { return console; }
    WindowId CaptureTarget(WindowId remembered) override { return remembered; }
    void BringToFront(WindowId) override {}
    std::string WindowTitle(WindowId) override { return {}; }
    void Pause(int) override {}
    bool AskOkCancel(const std::string&) override { return false; }
};

class EditCommandsTest : public ::testing::Test {
protected:
    EditCommandsTest() {
        image.Start();
        commands.SetEnabled(cmd::PrintSetup1, true);
        testing::LogRoutes(router, f.log,
                           {{handler::Print, "print"}, {handler::NumberedSave, "save"}, {handler::Editor, "editor"},
                            {handler::PrintConsoleText, "print text"}});
        captures.BindTo(router);
        edit.BindTo(router);
        hotKeys.SetActive(true);
    }

    void ShowPicture(const Bitmap& picture) {
        image.TakeUndoSnapshot();
        image.imgMain = picture;
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
    }

    testing::ScratchFolder scratch{"vimbrel-edit"};
    std::string folder = scratch.Slashed();
    Fakes f;
    testing::DiskFiles files;
    testing::MemoryStore store;
    OptionFlags flags;
    CommandStates commands;
    CommandRouter router{testing::StandardTable()};
    TSysHotKey hotKeys{f};
    CurrentImage image{commands, f, f, [] { return false; }};
    CommandDeps deps{image, flags, commands, store, files, f, f, f, f, hotKeys, router, folder, folder};
    ImageFileCommands fileCommands{deps};
    CaptureCommands captures{deps, f, f, f};
    EditCommands edit{deps, f, f, fileCommands, [this] { return captures.CropMode(); }, f};
};

TEST_F(EditCommandsTest, PastePrintsAndSavesButNeverCopiesOrEditsAndOnlyWhenNotBusy) {
    flags.PopUp = flags.AutoClipCopy = flags.AutoEdit = true;
    router.Route(handler::AutoPrint);
    router.Route(handler::AutoSave);
    ShowPicture(Filled(5, 5, 1));
    image.CaptureText = "earlier";
    f.clipboardBitmap = Filled(30, 20, 7);
    f.log.clear();

    hotKeys.SetActive(false);
    router.Route(handler::Paste);
    EXPECT_EQ(image.imgMain, Filled(5, 5, 1)) << "nothing is pasted while a capture or a print runs";
    hotKeys.SetActive(true);

    router.Route(handler::Paste);
    EXPECT_EQ(image.imgMain, Filled(30, 20, 7));
    EXPECT_EQ(f.log, (std::vector<std::string>{"pop-up", "print", "save"}));
    EXPECT_EQ(f.statusText, "");
    EXPECT_EQ(image.CaptureText, "earlier");
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, Filled(5, 5, 1));
}

TEST_F(EditCommandsTest, ClipboardChangesEnablePasteAndWatchingPastesButNotWhileBusy) {
    f.clipboardText = true;
    router.Route(handler::ClipboardChanged);
    EXPECT_FALSE(commands.Enabled(cmd::mnuPaste));
    EXPECT_FALSE(commands.Enabled(cmd::btnPaste));

    f.clipboardBitmap = Filled(8, 6, 3);
    flags.WatchClips = true;
    hotKeys.SetActive(false);
    router.Route(handler::ClipboardChanged);
    EXPECT_FALSE(commands.Enabled(cmd::popPaste)) << "ignored while the hotkeys are off";
    EXPECT_TRUE(image.imgMain.Empty());

    hotKeys.SetActive(true);
    router.Route(handler::ClipboardChanged);
    EXPECT_TRUE(commands.Enabled(cmd::popPaste));
    EXPECT_EQ(image.imgMain, Filled(8, 6, 3));
}

TEST_F(EditCommandsTest, WatchingLeavesTheProgramsOwnCopiesAlone) {
    flags.WatchClips = true;
    f.clipboardBitmap = Filled(8, 6, 3);
    router.Route(handler::ClipboardChanged);
    ShowPicture(Filled(5, 5, 1));
    router.Route(handler::Copy);
    router.Route(handler::ClipboardChanged);
    EXPECT_TRUE(commands.Enabled(cmd::mnuPaste)) << "our copy can still be pasted by hand";
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, Filled(8, 6, 3)) << "the copy was not taken back over the picture before";
}

TEST_F(EditCommandsTest, ConsoleTextIsPrintedOnlyWithAPrinterDosPrintAndAConsoleInFront) {
    f.clipboardText = true;
    f.console = true;
    router.Route(handler::ClipboardChanged);
    EXPECT_TRUE(f.log.empty()) << "DosPrint is off";
    flags.DosPrint = true;
    router.Route(handler::ClipboardChanged);
    EXPECT_EQ(f.log, std::vector<std::string>{"print text"});
    f.console = false;
    router.Route(handler::ClipboardChanged);
    commands.SetEnabled(cmd::PrintSetup1, false);
    f.console = true;
    router.Route(handler::ClipboardChanged);
    EXPECT_EQ(f.log.size(), 1u);
}

TEST(ClipboardChainTest, ALeavingNextWindowIsReplacedAndOtherNoticesGoOn) {
    ClipboardChain chain;
    chain.Joined(7);
    EXPECT_EQ(chain.WindowLeaves(9, 4), 7u) << "someone further on leaves: passed on";
    EXPECT_EQ(chain.Next(), 7u);
    EXPECT_EQ(chain.WindowLeaves(7, 5), 0u) << "our next one leaves: repaired here";
    EXPECT_EQ(chain.Next(), 5u);
    EXPECT_EQ(chain.WindowLeaves(5, 0), 0u);
    EXPECT_EQ(chain.Next(), 0u) << "the end of the chain";
}

TEST_F(EditCommandsTest, GreysAreEqualInEveryChannelAndUndoBringsBackColourAtItsZoom) {
    Bitmap colour(16, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) colour.SetPixelColour(x, y, RgbQuad{std::uint8_t(x * 16), 40, std::uint8_t(255 - y * 16), 0});
    ShowPicture(colour);
    image.SetZoom(1, 4);
    image.CurrentFileName = "kept.bmp";
    commands.SetEnabled(cmd::Save1, false);
    router.Route(handler::Grey);
    EXPECT_TRUE(commands.Enabled(cmd::Save1)) << "the picture changed: it can be saved";
    ASSERT_EQ(image.imgMain.Width(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            RgbQuad c = image.imgMain.PixelColour(x, y);
            ASSERT_TRUE(c.red == c.green && c.green == c.blue) << x << "," << y;
        }
    EXPECT_EQ(image.ZoomFactor(), 1.0) << "greys are shown at 1:1";
    EXPECT_EQ(image.CurrentFileName, "kept.bmp");
    EXPECT_FALSE(std::filesystem::exists(folder + "~~tmp.jpg")) << "the temporary JPEG is gone";
    image.mnuUndoClick();
    EXPECT_EQ(image.imgMain, colour);
    EXPECT_EQ(image.ZoomFactor(), 0.25);
}

TEST_F(EditCommandsTest, AStampGoesIntoBothPicturesAtItsOffsetAndARightClickDisarmsIt) {
    ShowPicture(Filled(40, 30, 2));
    router.Route(CommandRef{cmd::curAdd2, handler::AddCursor, 2});
    EXPECT_EQ(f.pointer, ImagePointer::HandPoint);
    f.log.clear();
    edit.Image1MouseDown(MouseButton::Left, Point{10, 12});
    EXPECT_EQ(f.log, (std::vector<std::string>{"stamp 2 into 40 at 10,12", "stamp 2 into 40 at 2,12"}));
    EXPECT_EQ(image.StampCursor, 0u);
    EXPECT_EQ(f.pointer, ImagePointer::Normal);
    EXPECT_TRUE(image.UndoAvailable());

    router.Route(CommandRef{cmd::crAdd4, handler::AddCursor, 4});
    EXPECT_EQ(image.StampOffset, (Point{-5, -6}));
    f.log.clear();
    edit.Image1MouseDown(MouseButton::Right, Point{3, 3});
    edit.Image1MouseUp(MouseButton::Right, Point{3, 3});
    EXPECT_TRUE(f.log.empty()) << "cancelled without drawing";
    EXPECT_EQ(image.StampCursor, 0u);
}

TEST_F(EditCommandsTest, DraggingScrollsALineForMovesBeyondTwoPixels) {
    ShowPicture(Filled(40, 30, 2));
    edit.Image1MouseDown(MouseButton::Left, Point{50, 50});
    EXPECT_EQ(image.DragOrigin.x, -1) << "nothing to scroll: no drag";

    f.scrollable = true;
    edit.Image1MouseDown(MouseButton::Left, Point{50, 50});
    EXPECT_EQ(f.pointer, ImagePointer::HandDrag);
    edit.Image1MouseMove(Point{52, 48});  // within the dead zone, which moves along
    edit.Image1MouseMove(Point{54, 46});
    EXPECT_TRUE(f.log.empty()) << "a slow drag never scrolls";
    edit.Image1MouseMove(Point{58, 42});
    EXPECT_EQ(f.log, (std::vector<std::string>{"scroll right", "scroll up"}));
    edit.Image1MouseUp(MouseButton::Left, Point{58, 42});
    EXPECT_EQ(image.DragOrigin, (Point{-1, -1}));
    EXPECT_EQ(f.pointer, ImagePointer::Normal);
    edit.Image1MouseMove(Point{90, 90});
    EXPECT_EQ(f.log.size(), 2u) << "no drag after the release";
}

TEST_F(EditCommandsTest, CopyPutsTheShownPictureAtItsZoomInEveryFormat) {
    router.Route(handler::Copy);
    EXPECT_FALSE(f.clipboardBitmap) << "no picture, nothing copied";
    ShowPicture(testing::Pattern(40, 30, 24));
    image.SetZoom(1, 2);
    router.Route(handler::Copy);
    ASSERT_TRUE(f.clipboardBitmap);
    EXPECT_EQ(f.clipboardBitmap->Width(), 20);
    EXPECT_EQ(f.clipboardBitmap->Height(), 15);
    const Bitmap dib = DecodeDib(f.clipboardData[ClipboardFormat::Dib]);
    EXPECT_EQ(dib.BitsPerPixel(), 24);
    EXPECT_TRUE(testing::SamePixels(dib, image.Image1()));
    EXPECT_TRUE(testing::SamePixels(DecodePng(f.clipboardData[ClipboardFormat::Png]), image.Image1()));
}

// What other programs leave on the clipboard, and which picture a paste takes from it.
TEST_F(EditCommandsTest, PasteTakesTheBestReadableFormatAndACopiedPictureFile) {
    const Bitmap a = Filled(6, 4, 10), b = Filled(7, 5, 20), c = Filled(8, 6, 30);
    const std::string file = folder + "copied-b.png";
    WriteImageFile(b, file);
    struct Case {
        const char* name;
        std::map<ClipboardFormat, std::vector<std::uint8_t>> data;
        std::optional<Bitmap> bitmap;
        std::vector<std::string> files;
        std::optional<Bitmap> pasted;  // nothing: paste stays off
    };
    const Case cases[] = {
        {"PNG before the DIB", {{ClipboardFormat::Png, EncodePng(a)}, {ClipboardFormat::Dib, EncodeDib(b)}}, c, {}, a},
        {"CF_DIBV5 before CF_DIB", {{ClipboardFormat::DibV5, EncodeDib(a)}, {ClipboardFormat::Dib, EncodeDib(b)}}, {}, {}, a},
        {"CF_BITMAP alone", {}, c, {}, c},
        {"one copied picture file", {}, {}, {file}, b},
        {"a picture before a copied file", {}, c, {file}, c},
        {"two copied files", {}, {}, {file, file}, {}},
        {"a copied file that is no picture", {}, {}, {folder + "notes.txt"}, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        f.clipboardData = test.data;
        f.clipboardBitmap = test.bitmap;
        f.droppedFiles = test.files;
        ShowPicture(Filled(3, 3, 99));
        router.Route(handler::ClipboardChanged);
        EXPECT_EQ(commands.Enabled(cmd::mnuPaste), test.pasted.has_value());
        router.Route(handler::Paste);
        if (test.pasted)
            EXPECT_TRUE(testing::SamePixels(image.imgMain, *test.pasted));
        else
            EXPECT_EQ(image.imgMain, Filled(3, 3, 99));
    }
}

TEST_F(EditCommandsTest, ADamagedOrTooLargeClipboardPictureIsReportedAndChangesNothing) {
    flags.WatchClips = true;
    ShowPicture(Filled(5, 5, 1));
    image.CurrentFileName = "kept.bmp";
    // A DIB whose header claims far more pixels than it holds is the answer, though a good
    // bitmap follows: the system makes the other formats from it.
    std::vector<std::uint8_t> cut = EncodeDib(Filled(64, 64, 3));
    cut.resize(cut.size() / 2);
    f.clipboardData = {{ClipboardFormat::Dib, cut}};
    f.clipboardBitmap = Filled(9, 9, 9);
    f.log.clear();
    router.Route(handler::ClipboardChanged);
    EXPECT_EQ(f.log, std::vector<std::string>{std::string("warning ") + kUnreadableImageMessage});
    EXPECT_EQ(image.imgMain, Filled(5, 5, 1));
    EXPECT_EQ(image.CurrentFileName, "kept.bmp");
    EXPECT_FALSE(image.UndoAvailable()) << "no undo step was taken for it";

    // A header that asks for 65535 x 65535 pixels at 32 bits: refused before anything is held.
    std::vector<std::uint8_t> huge = EncodeDib(Filled(2, 2, 3));
    for (int at : {4, 8}) huge[std::size_t(at)] = 0xFF, huge[std::size_t(at) + 1] = 0xFF;
    huge[14] = 32;
    f.clipboardData = {{ClipboardFormat::Dib, huge}};
    f.clipboardBitmap.reset();
    f.log.clear();
    router.Route(handler::Paste);
    EXPECT_EQ(f.log, std::vector<std::string>{std::string("warning ") + kUnreadableImageMessage});
    EXPECT_EQ(image.imgMain, Filled(5, 5, 1));

    // A copied file moved or deleted since.
    f.clipboardData.clear();
    f.droppedFiles = {folder + "gone.bmp"};
    f.log.clear();
    router.Route(handler::Paste);
    EXPECT_EQ(f.log, std::vector<std::string>{std::string("warning ") + kUnreadableImageMessage});
    EXPECT_EQ(image.imgMain, Filled(5, 5, 1));
}

}  // namespace
}  // namespace vimbrel
