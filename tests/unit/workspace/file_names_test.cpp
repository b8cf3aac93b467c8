// Name rules of the image file commands: path pieces, the overwrite question, temporary
// files, numbered saves and stepping through a numbered series.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "workspace/bmp_file.h"
#include "workspace/file_names.h"
#include "workspace/path_parts.h"
#include "util/file_system_port.h"
#include "workspace/image_file.h"
#include "workspace/numbered_files.h"
#include "workspace/send_to_editor.h"
#include "scratch_folder.h"

namespace vimbrel {
namespace {

class FakeFiles : public FileQueries {
public:
    std::set<std::string> existing;
    bool allExist = false;
    bool FileExists(const std::string& path) const override { return allExist || existing.count(path) > 0; }
};

TEST(FileNames, ExtensionAndFolderParts) {
    struct Case {
        const char *path, *ext, *folder, *name;
    } cases[] = {
        {"C:\\Pics\\shot.JPEG", ".JPEG", "C:\\Pics\\", "shot.JPEG"},
        {"C:\\my.dir\\file", "", "C:\\my.dir\\", "file"},
        {"a.b.bmp", ".bmp", "", "a.b.bmp"},
        {"C:x.jpg", ".jpg", "C:", "x.jpg"},
        {"name.", ".", "", "name."},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFileExt(c.path), c.ext);
        EXPECT_EQ(ExtractFilePath(c.path), c.folder);
        EXPECT_EQ(ExtractFileName(c.path), c.name);
    }
}

TEST(FileNames, OverwriteQuestionOnlyForExistingFiles) {
    FakeFiles files;
    files.existing = {"C:\\a\\x.bmp"};
    const SaveNameDecision taken = DecideSaveName("C:\\a\\x", 1, files);
    EXPECT_EQ(taken.name, "C:\\a\\x.bmp");
    EXPECT_TRUE(taken.askOverwrite);
    EXPECT_FALSE(DecideSaveName("C:\\a\\x", 2, files).askOverwrite);
    EXPECT_EQ(OverwriteQuestion("C:\\a\\x.bmp"), "File C:\\a\\x.bmp exists.\r Overwrite ?");
}

TEST(FileNames, TemporaryFiles) {
    EXPECT_EQ(GreysTempPath("C:\\Data"), "C:\\Data\\~~tmp.jpg");
    EXPECT_EQ(EditorTempPath("C:\\Temp\\"), "C:\\Temp\\~~vrl.bmp");
    EXPECT_EQ(EmailTempPath("C:\\Work\\"), "C:\\Work\\~email.jpg");
}

TEST(NumberedFiles, NumberTextAndNames) {
    EXPECT_EQ(NumberText(7), "00007");
    EXPECT_EQ(NumberText(0), "00000");
    EXPECT_EQ(NumberText(99999), "99999");
    EXPECT_EQ(NumberText(100000), "00000");
    EXPECT_EQ(NumberText(123456), "23456");
    EXPECT_EQ(AutoSaveName("C:\\Shots", "Vimbrel", 12, ".jpg"), "C:\\Shots\\Vimbrel-00012.jpg");
    EXPECT_EQ(AutoSaveName("C:\\Shots\\", "Vimbrel", 12, ".bmp"), "C:\\Shots\\Vimbrel-00012.bmp");
    EXPECT_EQ(AutoSaveName("", "Vimbrel", 3, ".bmp"), "Vimbrel-00003.bmp");
}

struct StoreLog {
    std::vector<std::int64_t> stored;
    StoreNextSaveNo Callback() {
        return [this](std::int64_t n) { stored.push_back(n); };
    }
};

TEST(NumberedFiles, ClaimUsesTheNumberAndStoresTheNext) {
    FakeFiles files;
    StoreLog log;
    AutoSaveSettings s{"C:\\Shots", "Vimbrel", ".bmp", 12};
    EXPECT_EQ(ClaimAutoSaveName(s, files, log.Callback()), "C:\\Shots\\Vimbrel-00012.bmp");
    EXPECT_EQ(s.nextSaveNo, 13);
    EXPECT_EQ(log.stored, std::vector<std::int64_t>{13});
}

TEST(NumberedFiles, ClaimNeverReplacesAnEarlierCapture) {
    struct Case {
        const char* name;
        std::int64_t next;
        std::set<std::string> existing;
        const char* expected;
        std::int64_t stored;
    } cases[] = {
        {"lowered counter", 12, {"S\\V-00012.bmp", "S\\V-00013.bmp"}, "S\\V-00014.bmp", 15},
        {"wrap after 99999", 100000, {"S\\V-00000.bmp"}, "S\\V-00001.bmp", 100002},
        {"other extension does not count", 5, {"S\\V-00005.jpg"}, "S\\V-00005.bmp", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFiles files;
        files.existing = c.existing;
        StoreLog log;
        AutoSaveSettings s{"S", "V", ".bmp", c.next};
        EXPECT_EQ(ClaimAutoSaveName(s, files, log.Callback()), c.expected);
        EXPECT_EQ(s.nextSaveNo, c.stored);
        EXPECT_EQ(log.stored, std::vector<std::int64_t>{c.stored});
    }
}

TEST(NumberedFiles, FullSeriesIsAnErrorNotAnEndlessLoop) {
    FakeFiles files;
    files.allExist = true;
    StoreLog log;
    AutoSaveSettings s{"S", "V", ".bmp", 1};
    EXPECT_THROW(ClaimAutoSaveName(s, files, log.Callback()), EInOutError);
    EXPECT_TRUE(log.stored.empty());
    EXPECT_EQ(s.nextSaveNo, 1);
}

TEST(NumberedFiles, ANumberPastTheLargestStoredOneIsRefusedNotWrapped) {
    FakeFiles files;
    StoreLog log;
    AutoSaveSettings last{"S", "V", ".bmp", kLargestNextSaveNo - 1};
    EXPECT_EQ(ClaimAutoSaveName(last, files, log.Callback()), "S\\V-83646.bmp");
    EXPECT_EQ(log.stored, std::vector<std::int64_t>{kLargestNextSaveNo});
    for (std::int64_t next : {kLargestNextSaveNo, kLargestNextSaveNo + 1}) {
        AutoSaveSettings s{"S", "V", ".bmp", next};
        EXPECT_THROW(ClaimAutoSaveName(s, files, log.Callback()), EInOutError) << next;
        EXPECT_EQ(s.nextSaveNo, next);
    }
    EXPECT_EQ(log.stored.size(), 1u) << "a refused number is not stored";
}

TEST(NumberedFiles, AutoSaveStoresTheNumberBeforeWritingTheFile) {
    const testing::ScratchFolder scratch("vimbrel-autosave");
    const std::filesystem::path& dir = scratch.path();
    // Real files, asked through the port the way the program asks.
    class DiskFiles : public FileQueries {
    public:
        bool FileExists(const std::string& p) const override { return std::filesystem::exists(p); }
    } files;
    AutoSaveSettings s{dir.string() + "/", "Vimbrel", ".jpg", 41};
    const std::string expected = AutoSaveName(s.autoSavePath, "Vimbrel", 41, ".jpg");
    bool fileExistedWhenStored = true;
    const std::string written = AutoSaveImage(Bitmap(8, 8, 24), s, files, [&](std::int64_t n) {
        EXPECT_EQ(n, 42);
        fileExistedWhenStored = std::filesystem::exists(expected);
    });
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(fileExistedWhenStored);
    EXPECT_EQ(ReadImageFileBytes(written)[0], 0xFF);  // .jpg auto-saves are JPEG
}

TEST(NumberedFiles, SeriesStepping) {
    FakeFiles files;
    files.existing = {"C:\\P\\Vimbrel-00013.bmp", "C:\\P\\Vimbrel-00011.bmp", "C:\\P\\Shot-00013.jpg",
                      "C:\\P\\A-00001.bmp"};
    struct Case {
        const char* last;
        const char* openPath;
        bool forward;
        std::optional<std::string> target;
    } cases[] = {
        {"C:\\Old\\Vimbrel-00012.bmp", "C:\\P\\", true, "C:\\P\\Vimbrel-00013.bmp"},
        {"C:\\P\\Vimbrel-00012.bmp", "C:\\P\\", false, "C:\\P\\Vimbrel-00011.bmp"},
        {"C:\\P\\Vimbrel-00013.bmp", "C:\\P\\", true, std::nullopt},  // next one missing
        {"C:\\P\\Shot-00012-edited.jpg", "C:\\P\\", true, "C:\\P\\Shot-00013.jpg"},
        {"C:\\P\\A- 0.bmp", "C:\\P", true, "C:\\P\\A-00001.bmp"},  // blanks allowed; folder gets its "\"
        {"C:\\P\\Vimbrel-00000.bmp", "C:\\P\\", false, std::nullopt},
        {"C:\\P\\NoNumber.bmp", "C:\\P\\", true, std::nullopt},
        {"C:\\P\\-00012.bmp", "C:\\P\\", true, std::nullopt},
        {"C:\\P\\Vimbrel-.bmp", "C:\\P\\", true, std::nullopt},
        {"C:\\P\\Vimbrel-12a.bmp", "C:\\P\\", true, std::nullopt},
        {"", "C:\\P\\", true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        EXPECT_EQ(StepNumberedFile(c.last, c.openPath, c.forward, files), c.target);
    }
    // A step below zero names a file that cannot exist.
    EXPECT_EQ(NumberedNeighbour("V-00000.bmp", "C:\\P\\", false), "C:\\P\\V-000-1.bmp");
    // The largest number has no next one; the one before it still steps back.
    EXPECT_EQ(NumberedNeighbour("V-9223372036854775807.bmp", "C:\\P\\", true), std::nullopt);
    EXPECT_EQ(NumberedNeighbour("V-9223372036854775807.bmp", "C:\\P\\", false), "C:\\P\\V-75806.bmp");
}

TEST(SendToEditor, WritesTheShownPictureForAnExistingEditorOnly) {
    const testing::ScratchFolder scratch("vimbrel editor test");  // a folder with blanks
    const std::string temp = scratch.Slashed();
    FakeFiles files;
    Bitmap shown(3, 2, 24);
    shown.SetPixelColour(1, 1, RgbQuad{1, 2, 3, 0});

    EXPECT_EQ(SendToEditor(shown, "", temp, files), std::nullopt);
    EXPECT_EQ(SendToEditor(shown, "C:\\Tools\\paint.exe", temp, files), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(EditorTempPath(temp)));

    files.existing = {"C:\\Tools\\paint.exe"};
    const std::optional<EditorLaunch> launch = SendToEditor(shown, "C:\\Tools\\paint.exe", temp, files);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->program, "C:\\Tools\\paint.exe");
    EXPECT_EQ(launch->tempFile, EditorTempPath(temp));
    EXPECT_EQ(launch->parameters, "\"" + EditorTempPath(temp) + "\"");  // the folder has blanks
    EXPECT_EQ(DecodeBmp(ReadImageFileBytes(launch->tempFile)), shown);
}

}  // namespace
}  // namespace vimbrel
