// Opening pictures handed over by a second start, numbered saves, stepping through a series
// and damaged files, on real files under Wine.
#include <gtest/gtest.h>

#include <fstream>

#include "vimbrel_process.h"

#include <commctrl.h>

#include "saved_picture.h"
#include "test_pictures.h"
#include "whole_files.h"
#include "workspace/image_file.h"

namespace e2e {
namespace {

using vimbrel::Bitmap;
using vimbrel::RgbQuad;
using vimbrel::testing::Pattern;
using vimbrel::testing::ReadAll;

class ImageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
    }

    // Starts the program and opens the file through a second start, as a user's double
    // click on a picture would.
    void OpenThroughSecondStart(VimbrelProcess& app, const std::string& file) {
        ASSERT_TRUE(app.RunSecondInstance("\"" + file + "\"").has_value());
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.MainWindow()) != FALSE; }));
    }

    // Opens a picture of that extension through the open dialog, seeing its preview first.
    void PreviewAndOpen(const std::string& ext);
};

TEST_F(ImageFilesTest, ASecondStartWithAPictureOpensItInTheFirst) {
    VimbrelProcess app("handover-open");
    const std::string file = app.Folder() + "holiday.bmp";
    vimbrel::WriteImageFile(Pattern(40, 30, 24), file);
    ASSERT_TRUE(app.Start());
    OpenThroughSecondStart(app, file);
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(40x 30) - " + file; }))
        << StatusText(app.MainWindow());
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(ReadAll(std::string(temp) + "~~vrl01"), file) << "the path alone, no terminator";
    ASSERT_TRUE(app.Exit());
}

TEST_F(ImageFilesTest, PngFilesOpenFromASecondStartStepThroughASeriesAndSaveAsPng) {
    VimbrelProcess app("png-files");
    const std::string first = app.Folder() + "Shot-00001.png", second = app.Folder() + "Shot-00002.png";
    vimbrel::WriteImageFile(Pattern(40, 30, 24), first);
    vimbrel::WriteImageFile(Pattern(12, 8, 32), second);  // an alpha that differs from pixel to pixel
    WriteSetting("AutoExt", ".png");
    ASSERT_TRUE(app.Start());
    OpenThroughSecondStart(app, first);
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(40x 30) - " + first; }))
        << StatusText(app.MainWindow());
    PressKeys({VK_CONTROL, VK_NEXT});
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(12x 8) - " + second; }))
        << StatusText(app.MainWindow());

    // With AutoExt .png the save dialog starts on the PNG filter, whose extension a bare name takes.
    ASSERT_TRUE(app.PostMenuCommand("Save Image &As..."));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + "copy"));
    const std::string copy = app.Folder() + "copy.png";
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(12x 8) - " + copy; }))
        << StatusText(app.MainWindow());
    EXPECT_EQ(ReadAll(copy).substr(1, 3), "PNG");
    auto back = vimbrel::LoadImageFile(copy);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, Pattern(12, 8, 32)) << "every byte of every pixel, alpha included";
    ASSERT_TRUE(app.Exit());
    EXPECT_EQ(ReadSetting("LastOpenExt"), ".png");
}

TEST_F(ImageFilesTest, CtrlF2SavesTheNextNumberedFileAndAdvancesTheCounter) {
    VimbrelProcess app("numbered-save");
    const std::string file = app.Folder() + "source.bmp";
    const Bitmap picture = Pattern(24, 16, 24);
    vimbrel::WriteImageFile(picture, file);
    WriteSetting("AutoSavePath", app.Folder());
    WriteSetting("NextSaveNo", "41");
    ASSERT_TRUE(app.Start());
    OpenThroughSecondStart(app, file);
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("source.bmp") != std::string::npos; }));

    PressKeys({VK_CONTROL, VK_F2});
    const std::string saved = app.Folder() + "Vimbrel-00041.bmp";
    ASSERT_TRUE(WaitFor([&] { return ReadSetting("NextSaveNo") == "42"; })) << ReadSetting("NextSaveNo").value_or("");
    ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesA(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    auto back = vimbrel::LoadImageFile(saved);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, picture);
    ASSERT_TRUE(app.Exit());
}

TEST_F(ImageFilesTest, NumberedJpegSavesAreJpegAndTakenNamesAreSkipped) {
    VimbrelProcess app("numbered-jpeg");
    const std::string file = app.Folder() + "source.bmp";
    vimbrel::WriteImageFile(Pattern(24, 16, 24), file);
    std::ofstream(app.Folder() + "Vimbrel-00005.jpg") << "an earlier capture";
    WriteSetting("AutoSavePath", app.Folder());
    WriteSetting("AutoExt", ".jpg");
    WriteSetting("NextSaveNo", "5");
    ASSERT_TRUE(app.Start());
    OpenThroughSecondStart(app, file);
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("source.bmp") != std::string::npos; }));

    PressKeys({VK_CONTROL, VK_F2});
    const std::string saved = app.Folder() + "Vimbrel-00006.jpg";
    ASSERT_TRUE(WaitFor([&] { return ReadSetting("NextSaveNo") == "7"; })) << ReadSetting("NextSaveNo").value_or("");
    ASSERT_TRUE(WaitFor([&] { return ReadAll(saved).size() > 2; }));
    EXPECT_EQ(ReadAll(saved).substr(0, 2), "\xFF\xD8") << "a JPEG file";
    EXPECT_EQ(ReadAll(app.Folder() + "Vimbrel-00005.jpg"), "an earlier capture");
    ASSERT_TRUE(app.Exit());
}

TEST_F(ImageFilesTest, CtrlPageDownStepsToTheNextFileOfASeries) {
    VimbrelProcess app("series");
    vimbrel::WriteImageFile(Pattern(10, 10, 24), app.Folder() + "Shot-00001.bmp");
    vimbrel::WriteImageFile(Pattern(12, 8, 24), app.Folder() + "Shot-00002.bmp");
    ASSERT_TRUE(app.Start());
    OpenThroughSecondStart(app, app.Folder() + "Shot-00001.bmp");
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("Shot-00001") != std::string::npos; }));
    PressKeys({VK_CONTROL, VK_NEXT});
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(12x 8) - " + app.Folder() + "Shot-00002.bmp"; }))
        << StatusText(app.MainWindow());
    PressKeys({VK_CONTROL, VK_PRIOR});
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("Shot-00001") != std::string::npos; }));
    ASSERT_TRUE(app.Exit());
}

TEST_F(ImageFilesTest, ADamagedFileShowsTheMessageAndTheProgramRunsOn) {
    VimbrelProcess app("damaged");
    const std::string good = app.Folder() + "good.bmp";
    vimbrel::WriteImageFile(Pattern(8, 8, 24), good);
    const std::string bad = app.Folder() + "bad.bmp";
    std::ofstream(bad, std::ios::binary) << "BM\x10\x00\x00\x00 certainly not a bitmap";
    ASSERT_TRUE(app.Start());
    OpenThroughSecondStart(app, good);
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find("good.bmp") != std::string::npos; }));

    // The second start ends by itself; the first shows its message until it is answered.
    ASSERT_TRUE(app.RunSecondInstance("\"" + bad + "\"").has_value());
    ASSERT_TRUE(AnswerMessageBox(app.ProcessId(), "  Vimbrel   ", "Unable to read or decrypt the image"));
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ") == nullptr; }));
    EXPECT_TRUE(app.Running());
    EXPECT_NE(StatusText(app.MainWindow()).find("good.bmp"), std::string::npos) << "the current picture stays";
    ASSERT_TRUE(app.Exit());
}

// An 8-bit picture: a band of one colour, a stretch where every pixel differs, and a tail
// that is colour 0 on every other row.
Bitmap PalettePicture() {
    Bitmap b(37, 9, 8);
    for (int i = 0; i < 256; ++i) b.Palette()[i] = RgbQuad{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 5), 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.Row(y)[x] = std::uint8_t(x < 10 ? 1 + y % 3 : x < 25 ? 3 + (7 * x + y) % 200 : y % 2 ? 250 : 0);
    return b;
}

void Put(std::string& f, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.push_back(char(v >> (8 * i)));
}

// The file header, then the given header, the picture's colour table and the pixel data.
std::string WithFileHeader(const std::string& header, const Bitmap& b, bool threeByteColours,
                           const std::string& pixels) {
    std::string table;
    for (RgbQuad q : b.Palette()) {
        table += {char(q.blue), char(q.green), char(q.red)};
        if (!threeByteColours) table.push_back(0);
    }
    const std::uint32_t offset = std::uint32_t(14 + header.size() + table.size());
    std::string f = "BM";
    Put(f, offset + std::uint32_t(pixels.size()), 4);
    Put(f, 0, 4);
    Put(f, offset, 4);
    return f + header + table + pixels;
}

// PalettePicture as compressing writers store it: the band as an encoded run, the stretch
// as an absolute run (15 pixels and a pad byte), and a tail of colour 0 left to the end of
// line.
std::string Rle8File(const Bitmap& b) {
    std::string codes;
    for (int y = b.Height() - 1; y >= 0; --y) {
        const std::uint8_t* row = b.Row(y);
        codes += {10, char(row[0]), 0, 15};
        codes.append(reinterpret_cast<const char*>(row) + 10, 15);
        codes.push_back(0);
        if (row[25] != 0) codes += {12, char(row[25])};
        codes += {0, 0};
    }
    codes += {0, 1};
    std::string header;
    for (std::uint32_t v : {40u, std::uint32_t(b.Width()), std::uint32_t(b.Height())}) Put(header, v, 4);
    Put(header, 1, 2);
    Put(header, 8, 2);
    for (std::uint32_t v : {1u, std::uint32_t(codes.size()), 0u, 0u, 0u, 0u}) Put(header, v, 4);
    return WithFileHeader(header, b, false, codes);
}

// The 12-byte OS/2 header: 16-bit sizes, colours of three bytes, rows as usual.
std::string Os2File(const Bitmap& b) {
    std::string header;
    Put(header, 12, 4);
    for (int v : {b.Width(), b.Height(), 1, 8}) Put(header, std::uint32_t(v), 2);
    std::string rows;
    for (int y = b.Height() - 1; y >= 0; --y) rows.append(reinterpret_cast<const char*>(b.Row(y)), b.Stride());
    return WithFileHeader(header, b, true, rows);
}

TEST_F(ImageFilesTest, RunLengthAndOs2FilesOpenAndSaveWithTheirPixels) {
    VimbrelProcess app("rle-os2");
    const Bitmap original = PalettePicture();
    struct Kind {
        const char* file;
        std::string bytes;
        const char* saved;
    };
    const Kind kinds[] = {{"compressed.bmp", Rle8File(original), "Vimbrel-00001.bmp"},
                          {"os2.bmp", Os2File(original), "Vimbrel-00002.bmp"}};
    for (const Kind& k : kinds) std::ofstream(app.Folder() + k.file, std::ios::binary) << k.bytes;
    WriteSetting("AutoSavePath", app.Folder());
    ASSERT_TRUE(app.Start());
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.file);
        OpenThroughSecondStart(app, app.Folder() + k.file);
        ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(37x 9) - " + app.Folder() + k.file; }))
            << StatusText(app.MainWindow());
        PressKeys({VK_CONTROL, VK_F2});
        const std::string saved = app.Folder() + k.saved;
        const std::optional<Bitmap> back = WaitForPicture(saved);
        ASSERT_TRUE(back);
        EXPECT_EQ(ReadAll(saved).substr(30, 4), std::string(4, '\0')) << "saved uncompressed";
        ASSERT_EQ(back->Width(), original.Width());
        ASSERT_EQ(back->Height(), original.Height());
        for (int y = 0; y < original.Height(); ++y)
            for (int x = 0; x < original.Width(); ++x)
                ASSERT_EQ(back->PixelColour(x, y), original.PixelColour(x, y)) << x << ", " << y;
    }
    ASSERT_TRUE(app.Exit());
}

TEST_F(ImageFilesTest, OpenAndSaveImageAsGoThroughTheFileDialogs) {
    VimbrelProcess app("dialogs");
    const std::string source = app.Folder() + "dialog-source.bmp";
    vimbrel::WriteImageFile(Pattern(20, 10, 24), source);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.RunSecondInstance("").has_value());

    ASSERT_TRUE(app.PostMenuCommand("&Open"));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Open", source));
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(20x 10) - " + source; }))
        << StatusText(app.MainWindow());
    EXPECT_EQ(ReadSetting("LastOpenExt").value_or(""), "") << "stored only at exit";

    // A name without extension takes the filter's: the bitmap filter is first (AutoExt .bmp).
    ASSERT_TRUE(app.PostMenuCommand("Save Image &As..."));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + "copy"));
    const std::string copy = app.Folder() + "copy.bmp";
    ASSERT_TRUE(WaitFor([&] { return ::GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(20x 10) - " + copy; }));
    auto back = vimbrel::LoadImageFile(copy);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, Pattern(20, 10, 24));

    // Saving over it asks first; No leaves it alone.
    ASSERT_TRUE(app.PostMenuCommand("Save Image &As..."));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", copy));
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = FindProcessWindow(app.ProcessId(), "#32770", "  Vimbrel   ")) != nullptr; }));
    EXPECT_NE(FindChildByText(question, "File " + copy + " exists.\r Overwrite ?"), nullptr);
    ::PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(question); }));
    ASSERT_TRUE(app.Exit());
    EXPECT_EQ(ReadSetting("LastOpenExt"), ".bmp");
}

TEST_F(ImageFilesTest, OpenPreviewsTheSelectedPictureAndOpensTheChosenFile) {
    for (const char* ext : {".bmp", ".png"}) {
        SCOPED_TRACE(ext);
        PreviewAndOpen(ext);
    }
}

void ImageFilesTest::PreviewAndOpen(const std::string& ext) {
    VimbrelProcess app("open-preview" + ext);
    const std::string source = app.Folder() + "preview-source" + ext;
    vimbrel::WriteImageFile(Pattern(100, 50, 24), source);
    // The other format beside it, which the filter leaves out.
    vimbrel::WriteImageFile(Pattern(10, 10, 24), app.Folder() + (ext == ".bmp" ? "other.png" : "other.bmp"));
    // That format's filter in the picture's folder, so the list holds just this picture.
    WriteSetting("LastOpenExt", ext);
    WriteSetting("OpenPath", app.Folder());
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.RunSecondInstance("").has_value());

    ASSERT_TRUE(app.PostMenuCommand("&Open"));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindProcessWindow(app.ProcessId(), "#32770", "Open")) != nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return FindChildByText(dialog, "&Delete") != nullptr; })) << "the picture panel";
    HWND remove = FindChildByText(dialog, "&Delete");
    EXPECT_FALSE(::IsWindowEnabled(remove));

    // Choosing the file in the list, as a click or the keyboard would, previews it.
    HWND list = FindDescendantOfClass(dialog, "SysListView32");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }))
        << ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) << " files listed";
    ::PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_TRUE(WaitFor([&] { return FindChildByText(dialog, " (100x50)") != nullptr; }));
    // The label is set just before the buttons are enabled.
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(remove) != FALSE; }));

    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Open", source));
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(100x 50) - " + source; }))
        << StatusText(app.MainWindow());
    ASSERT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e
