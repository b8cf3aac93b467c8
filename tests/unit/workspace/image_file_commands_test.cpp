// The image file commands end to end over real files in a scratch folder, with the user's
// answers and the system played by a fake.
#include <gtest/gtest.h>

#include <fstream>

#include "command_fakes.h"
#include "workspace/image_errors.h"
#include "workspace/image_file.h"
#include "workspace/numbered_files.h"

namespace vimbrel {
namespace {

using namespace fakes;

class ImageFileCommandsTest : public FileCommandsTest {};

TEST_F(ImageFileCommandsTest, OpeningAPictureMakesItCurrentAndRemembersWhereItCameFrom) {
    WriteImageFile(Filled(6, 4, 9), Path("shot.bmp"));
    flags.LastOpenExt = ".jpg";
    ui.openAnswer = Path("shot.bmp");
    cmd.mnuOpenFileClick();
    ASSERT_FALSE(ui.log.empty());
    EXPECT_EQ(ui.log[0], "open dialog " + folder + " 2 Bitmaps");
    EXPECT_EQ(image.imgMain, Filled(6, 4, 9));
    EXPECT_EQ(image.CurrentFileName, Path("shot.bmp"));
    EXPECT_EQ(image.LastOpenedFile, Path("shot.bmp"));
    EXPECT_EQ(flags.LastOpenExt, ".bmp");
    EXPECT_EQ(ui.statusText, "(6x 4) - " + Path("shot.bmp"));
    EXPECT_TRUE(commands.Enabled(cmd::SaveAs1));
    EXPECT_FALSE(ui.busy) << "the wait cursor is put back";
}

TEST_F(ImageFileCommandsTest, ADamagedPictureIsReportedAndTheCurrentOneStays) {
    WriteImageFile(Filled(3, 3, 1), Path("good.bmp"));
    cmd.OpenFileByPath(Path("good.bmp"));
    std::ofstream(Path("bad.bmp"), std::ios::binary) << "BM this is not a bitmap";
    cmd.OpenFileByPath(Path("bad.bmp"));
    EXPECT_EQ(ui.log.back(), std::string("warning ") + kUnreadableImageMessage);
    EXPECT_EQ(image.imgMain, Filled(3, 3, 1));
    EXPECT_EQ(image.CurrentFileName, Path("good.bmp"));
}

TEST_F(ImageFileCommandsTest, EncryptedNamesAreNeverReadAsPicturesAndOtherFilesGoToTheirProgram) {
    // A picture under an encrypted name, with nothing to decipher it: it is not read.
    WriteImageFile(Filled(2, 2, 1), Path("plain.vrx"));
    cmd.OpenFileByPath(Path("plain.vrx"));
    EXPECT_TRUE(ui.log.empty());
    EXPECT_EQ(flags.LastOpenExt, ".vrx");
    EXPECT_TRUE(image.imgMain.Empty());
    cmd.OpenFileByPath(Path("notes.txt"));
    EXPECT_EQ(ui.log.back(), "system opens " + Path("notes.txt"));
    EXPECT_TRUE(image.imgMain.Empty());
}

TEST_F(ImageFileCommandsTest, SaveAsAddsTheFilterExtensionAndAsksBeforeReplacing) {
    image.imgMain = Filled(8, 6, 2);
    image.RenderShownImage(image.imgMain, 1.0);
    flags.AutoExt = ".jpg";
    ui.saveAnswer = Dialogs::SaveChoice{Path("pic"), 2};
    cmd.SaveAs1Click();
    EXPECT_EQ(ui.log[0], "save dialog " + folder + " 2 Bitmap");
    ASSERT_TRUE(fs::exists(Path("pic.jpg")));
    EXPECT_EQ(image.CurrentFileName, Path("pic.jpg"));
    EXPECT_TRUE(commands.Enabled(cmd::Save1));

    auto before = fs::file_size(Path("pic.jpg"));
    image.imgMain = Filled(40, 30, 3);
    ui.confirmAnswer = false;
    ui.saveAnswer = Dialogs::SaveChoice{Path("pic.jpg"), 1};
    cmd.SaveAs1Click();
    EXPECT_EQ(ui.log.back(), "confirm File " + Path("pic.jpg") + " exists.\r Overwrite ?");
    EXPECT_EQ(fs::file_size(Path("pic.jpg")), before) << "No leaves the file alone";
}

TEST_F(ImageFileCommandsTest, SaveAsShownWritesTheZoomedPictureAndPlainSaveTheFullOne) {
    image.imgMain = Filled(8, 6, 2);
    image.EnableImageCommands(true);
    image.SetZoom(1, 2);
    ui.saveAnswer = Dialogs::SaveChoice{Path("half.bmp"), 1};
    cmd.SaveAs2Click();
    auto half = LoadImageFile(Path("half.bmp"));
    ASSERT_TRUE(half);
    EXPECT_EQ(half->Width(), 4);
    cmd.Save1Click();
    auto full = LoadImageFile(Path("half.bmp"));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Width(), 8);
    EXPECT_EQ(ui.log.size(), 1u) << "the plain Save asks nothing";
}

// Stepping and numbered saves build Windows paths; the end-to-end tests cover them on files.
TEST_F(ImageFileCommandsTest, ANumberedSaveTakesTheNextFreeNameStoresTheNextNumberAndBeeps) {
    image.imgMain = Filled(3, 2, 7);
    flags.AutoSavePath = dir.path().string();  // the name is the path, a backslash and the numbered name
    flags.AutoPrefix = "Shot";
    flags.AutoExt = ".bmp";
    flags.NextSaveNo = 4;
    const std::string taken = AutoSaveName(flags.AutoSavePath, "Shot", 4, ".bmp");
    const std::string next = AutoSaveName(flags.AutoSavePath, "Shot", 5, ".bmp");
    WriteImageFile(Filled(1, 1, 1), taken);
    cmd.AutoSaveImage();
    EXPECT_EQ(LoadImageFile(next, {}), Filled(3, 2, 7)) << "an existing number is skipped";
    EXPECT_EQ(store.values["NextSaveNo"], "6") << "written at once, not at exit";
    EXPECT_EQ(image.CurrentFileName, next);
    EXPECT_EQ(ui.log.back(), "beep");
    fs::remove(taken);
    fs::remove(next);
}

TEST_F(ImageFileCommandsTest, SteppingWithoutAnOpenedFileRunsOpen) {
    cmd.StepNumberedFile(true);
    ASSERT_EQ(ui.log.size(), 1u);
    EXPECT_EQ(ui.log.back().substr(0, 11), "open dialog");
}

TEST_F(ImageFileCommandsTest, TheEditorGetsTheShownPictureOnlyWhenItExists) {
    image.imgMain = Filled(4, 4, 5);
    image.RenderShownImage(image.imgMain, 1.0);
    flags.ImageEditor = Path("editor.exe");
    cmd.mnuEditorClick();
    EXPECT_TRUE(ui.log.empty()) << "no such editor: nothing happens";
    std::ofstream(Path("editor.exe")) << "x";
    cmd.mnuEditorClick();
    ASSERT_FALSE(ui.log.empty());
    EXPECT_EQ(ui.log.back().rfind("start " + Path("editor.exe"), 0), 0u);
    EXPECT_NE(ui.log.back().find("~~vrl.bmp"), std::string::npos);
}

}  // namespace
}  // namespace vimbrel
