// The Encryption menu and the opening of encrypted files over real files: what is written,
// what the user is asked, and that no plain copy stays behind on any way out.
#include <gtest/gtest.h>

#include <fstream>

#include "crypto/encryption_commands.h"
#include "crypto/strong_file.h"
#include "command_fakes.h"
#include "whole_files.h"
#include "workspace/image_errors.h"
#include "workspace/image_file.h"

namespace vimbrel {
namespace {

using namespace fakes;
using testing::ReadAll;

struct FakeKeyDialog : EncryptionDialogs {
    std::optional<std::string> key = "secret key";
    std::optional<std::string> file;
    std::vector<std::string> asked;

    std::optional<KeyText> GetKeyText(const std::optional<std::string>& note) override {
        asked.push_back("key " + note.value_or("(note)"));
        if (!key) return std::nullopt;
        return KeyText(*key);
    }
    std::optional<std::string> AskExistingFile(const std::string& title, const std::string& filter,
                                               const std::string& folder) override {
        asked.push_back(title + " | " + filter + " | " + folder);
        return file;
    }
};

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

class EncryptionCommandsTest : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        ui.tempFolder = Path("temp/");
        fs::create_directories(ui.tempFolder);
        fs::create_directories(work);
        crypt.BindTo(router);
    }

    // What the command wrote, deciphered by the cipher itself.
    std::string Decipher(const std::string& file, const std::string& key) {
        TDES des;
        DecryptFileWithKey(des, EncryptedFileIVText, key, file, Path("check"));
        std::string plain = ReadAll(Path("check"));
        fs::remove(Path("check"));
        return plain;
    }
    void Encipher(const std::string& plain, const std::string& file, const std::string& key) {
        TDES des;
        EncryptFileWithKey(des, EncryptedFileIVText, key, plain, file);
    }
    void ShowPicture(const Bitmap& picture) {
        image.imgMain = picture;
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
    }

    std::string work = Path("work/");
    FakeKeyDialog keys;
    EncryptionCommands crypt{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder},
                             keys, cmd, work};
};

TEST_F(EncryptionCommandsTest, SaveImageEncryptedNamesTheFileByItsContentAndLeavesNoPlainCopy) {
    ShowPicture(Filled(12, 7, 4));
    struct Case {
        const char* chosen;
        int filter;
        const char* written;
        const char* magic;
    } cases[] = {
        {"shot", 1, "shot.bmp.vrx", "BM"},
        {"shot.jpeg.vrx", 1, "shot.jpeg.vrx", "\xFF\xD8"},
        {"shot.vrx", 1, "shot.vrx.bmp.vrx", "BM"},
        {"shot.jpg", 1, "shot.jpg.bmp.vrx", "BM"},
        {"other", 2, "other.jpg.vrx", "\xFF\xD8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        ui.saveAnswer = Dialogs::SaveChoice{Path(c.chosen), c.filter};
        ui.log.clear();
        router.Route(handler::SaveEncrypted);
        ASSERT_EQ(ui.log.size(), 1u);
        EXPECT_EQ(ui.log[0], "save dialog " + folder + " 1 Bitmap");
        std::string plain = Decipher(Path(c.written), "secret key");
        EXPECT_EQ(plain.substr(0, 2), c.magic);
        EXPECT_TRUE(FilesIn(ui.tempFolder).empty()) << "the plain picture is gone";
    }
    std::string bitmap = Decipher(Path("shot.bmp.vrx"), "secret key");
    std::ofstream(Path("back.bmp"), std::ios::binary) << bitmap;
    EXPECT_EQ(LoadImageFile(Path("back.bmp")), Filled(12, 7, 4)) << "the full-size picture, exactly";
    EXPECT_TRUE(image.CurrentFileName.empty()) << "a temporary write names nothing";
    EXPECT_TRUE(commands.Enabled(cmd::Save1));
    EXPECT_FALSE(ui.busy);
}

TEST_F(EncryptionCommandsTest, SaveImageEncryptedAsksBeforeReplacingAndStopsOnCancel) {
    ShowPicture(Filled(5, 5, 1));
    std::ofstream(Path("shot.bmp.vrx")) << "older file";
    ui.saveAnswer = Dialogs::SaveChoice{Path("shot"), 1};
    ui.confirmAnswer = false;
    crypt.mnuSaveEncryptedClick();
    EXPECT_EQ(ui.log.back(), "confirm File " + Path("shot.bmp.vrx") + " exists.\r Overwrite ?");
    EXPECT_EQ(ReadAll(Path("shot.bmp.vrx")), "older file");
    EXPECT_TRUE(FilesIn(ui.tempFolder).empty());

    ui.log.clear();
    keys.key.reset();
    crypt.mnuSaveEncryptedClick();
    EXPECT_TRUE(ui.log.empty()) << "no key: not even the save dialog";
    EXPECT_EQ(keys.asked.back(), "key (note)");
}

TEST_F(EncryptionCommandsTest, AFailedEncryptedSaveStillRemovesThePlainPicture) {
    ShowPicture(Filled(5, 5, 1));
    ui.saveAnswer = Dialogs::SaveChoice{Path("missing folder/shot"), 1};
    EXPECT_THROW(crypt.mnuSaveEncryptedClick(), EFileError) << "reported by the program's error handler";
    EXPECT_TRUE(FilesIn(ui.tempFolder).empty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(EncryptionCommandsTest, EncryptAFileWritesItBesideTheSourceAndLeavesTheSourceAlone) {
    const std::string source = Path("report.doc");
    std::ofstream(source, std::ios::binary) << "quarterly figures\n";
    std::ofstream(source + ".VRX") << "an older copy, replaced without asking";
    keys.file = source;
    router.Route(handler::EncryptFile);
    EXPECT_EQ(keys.asked, (std::vector<std::string>{"key (note)", "Select File to Encrypt | All Files (*.*)|*.* | "}));
    EXPECT_EQ(ReadAll(source), "quarterly figures\n");
    EXPECT_EQ(fs::file_size(source + ".VRX"), 24u);
    EXPECT_EQ(Decipher(source + ".VRX", "secret key"), "quarterly figures\n");
    EXPECT_TRUE(ui.log.empty()) << "no question";

    keys.asked.clear();
    keys.key.reset();
    router.Route(handler::EncryptFile);
    EXPECT_EQ(keys.asked.size(), 1u) << "no key: no file dialog";
}

TEST_F(EncryptionCommandsTest, AnEncryptedPictureOpensWithoutAFileNameAndItsPlainCopyGoes) {
    WriteImageFile(Filled(9, 6, 3), Path("photo.bmp"));
    Encipher(Path("photo.bmp"), Path("photo.bmp.vrx"), "secret key");
    Encipher(Path("photo.bmp"), Path("old.bmpx"), "secret key");
    std::ofstream(work + "photo.bmp") << "left over from before";
    keys.file = Path("photo.bmp.vrx");
    router.Route(handler::OpenEncrypted);
    EXPECT_EQ(keys.asked[0], "Select VRL Encrypted file to open | VRL Encrypted Files (*.VRX;*.VRS)|*.vrx;*.vrs | " + folder);
    EXPECT_EQ(keys.asked[1], "key \r\nFile: photo.bmp.vrx");
    EXPECT_EQ(image.imgMain, Filled(9, 6, 3));
    EXPECT_TRUE(image.CurrentFileName.empty()) << "Save asks for a new name";
    EXPECT_TRUE(image.LastOpenedFile.empty());
    EXPECT_EQ(ui.statusText, "(9x 6) - Encrypted Image");
    EXPECT_EQ(flags.LastOpenExt, ".vrx");
    EXPECT_TRUE(FilesIn(work).empty()) << "no plain copy once it is shown";

    image.imgMain = Filled(1, 1, 1);
    cmd.OpenFileByPath(Path("old.bmpx"));
    EXPECT_EQ(keys.asked.back(), "key \r\nFile: old.bmpx");
    EXPECT_EQ(image.imgMain, Filled(9, 6, 3)) << "old.bmpx deciphers to old.bmp";
    EXPECT_TRUE(FilesIn(work).empty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(EncryptionCommandsTest, AWrongKeyLeavesNoPlainFileAndKeepsThePicture) {
    WriteImageFile(Filled(9, 6, 3), Path("photo.bmp"));
    Encipher(Path("photo.bmp"), Path("photo.bmp.vrx"), "secret key");
    ShowPicture(Filled(4, 4, 8));
    image.CurrentFileName = Path("current.bmp");

    keys.key = "wrong key";
    cmd.OpenFileByPath(Path("photo.bmp.vrx"));
    EXPECT_EQ(ui.log.back(), std::string("warning ") + kUnableToDecrypt);
    EXPECT_EQ(image.imgMain, Filled(4, 4, 8));
    EXPECT_EQ(image.CurrentFileName, Path("current.bmp"));
    EXPECT_TRUE(FilesIn(work).empty());

    // Now and then a wrong key ends in a believable pad count; the garbage is then refused
    // as a picture, and goes too.
    std::string believable;
    for (int i = 0; believable.empty() && i < 2000; ++i) {
        std::string candidate = "wrong key " + std::to_string(i);
        TDES des;
        try {
            DecryptFileWithKey(des, EncryptedFileIVText, candidate, Path("photo.bmp.vrx"), Path("probe"));
            believable = candidate;
        } catch (const ECipherTextError&) {
        }
    }
    ASSERT_FALSE(believable.empty());
    keys.key = believable;
    ui.log.clear();
    cmd.OpenFileByPath(Path("photo.bmp.vrx"));
    EXPECT_EQ(ui.log, (std::vector<std::string>{std::string("warning ") + kUnreadableImageMessage}));
    EXPECT_EQ(image.imgMain, Filled(4, 4, 8));
    EXPECT_TRUE(FilesIn(work).empty());

    // Cancelled: nothing said, nothing written.
    ui.log.clear();
    keys.key.reset();
    cmd.OpenFileByPath(Path("photo.bmp.vrx"));
    EXPECT_TRUE(ui.log.empty());
    EXPECT_TRUE(FilesIn(work).empty());
    EXPECT_FALSE(ui.busy);
}

TEST_F(EncryptionCommandsTest, OtherDecipheredFilesGoToTheirProgramAndStay) {
    std::ofstream(Path("report.doc"), std::ios::binary) << "minutes";
    Encipher(Path("report.doc"), Path("report.doc.VRX"), "secret key");
    cmd.OpenFileByPath(Path("report.doc.VRX"));
    EXPECT_EQ(ui.log.back(), "system opens " + work + "report.doc");
    EXPECT_EQ(ReadAll(work + "report.doc"), "minutes") << "its program reads it later";

    // That left no mark behind: a plain picture opened next keeps its file and its name.
    WriteImageFile(Filled(3, 3, 2), Path("plain.bmp"));
    cmd.OpenFileByPath(Path("plain.bmp"));
    EXPECT_TRUE(fs::exists(Path("plain.bmp")));
    EXPECT_EQ(image.CurrentFileName, Path("plain.bmp"));
}

TEST_F(EncryptionCommandsTest, NamesWithoutAnExtensionCountAsEncrypted) {
    // "secret" deciphers to "secre", which no reader takes: nothing is shown, nothing stays.
    std::ofstream(Path("notes"), std::ios::binary) << "text";
    Encipher(Path("notes"), Path("secret"), "secret key");
    cmd.OpenFileByPath(Path("secret"));
    EXPECT_EQ(keys.asked.back(), "key \r\nFile: secret");
    EXPECT_TRUE(image.imgMain.Empty());
    EXPECT_TRUE(FilesIn(work).empty());

    // Nothing is left of the name: reported, nothing written.
    std::ofstream(Path("x"), std::ios::binary) << "12345678";
    cmd.OpenFileByPath(Path("x"));
    EXPECT_EQ(ui.log.back(), std::string("warning ") + kUnableToDecrypt);
    EXPECT_TRUE(FilesIn(work).empty());
}

}  // namespace
}  // namespace vimbrel

namespace vimbrel {
namespace {

// With "Cipher" on "Strong": every command writes strong files under their own names, and
// opening reads whichever format a file holds.
class StrongEncryptionCommandsTest : public EncryptionCommandsTest {
protected:
    void SetUp() override {
        EncryptionCommandsTest::SetUp();
        flags.Cipher = FileCipher::Strong;
    }
    static bool IsStrong(const std::string& file) { return ReadStrongHeader(file).has_value(); }
};

TEST_F(StrongEncryptionCommandsTest, SavesAndEncryptedFilesAreStrongAndOpenAgainExactly) {
    ShowPicture(Filled(12, 7, 4));
    ui.saveAnswer = Dialogs::SaveChoice{Path("shot"), 3};
    router.Route(handler::SaveEncrypted);
    ASSERT_TRUE(IsStrong(Path("shot.png.vrs")));
    EXPECT_TRUE(FilesIn(ui.tempFolder).empty()) << "the plain picture is gone";

    std::ofstream(Path("report.doc"), std::ios::binary) << "a report";
    keys.file = Path("report.doc");
    router.Route(handler::EncryptFile);
    EXPECT_TRUE(IsStrong(Path("report.doc.VRS")));
    EXPECT_EQ(ReadAll(Path("report.doc")), "a report");

    ShowPicture(Filled(3, 3, 1));
    cmd.OpenFileByPath(Path("shot.png.vrs"));
    EXPECT_EQ(image.imgMain, Filled(12, 7, 4)) << "the full-size picture, exactly";
    EXPECT_TRUE(FilesIn(work).empty()) << "the deciphered picture goes once it is loaded";
    EXPECT_FALSE(ui.busy);
}

TEST_F(StrongEncryptionCommandsTest, AWrongKeyOrAChangedFileGivesTheMessageAndNoPlainByte) {
    ShowPicture(Filled(12, 7, 4));
    ui.saveAnswer = Dialogs::SaveChoice{Path("shot"), 1};
    router.Route(handler::SaveEncrypted);
    ShowPicture(Filled(4, 4, 8));
    image.CurrentFileName = Path("current.bmp");

    keys.key = "secret kez";
    cmd.OpenFileByPath(Path("shot.bmp.vrs"));
    EXPECT_EQ(ui.log.back(), std::string("warning ") + kUnableToDecrypt);
    EXPECT_TRUE(FilesIn(work).empty());

    // A change far into the file: the chunks before it were sound, and still nothing stays.
    std::string bytes = ReadAll(Path("shot.bmp.vrs"));
    bytes[bytes.size() - 100] ^= 0x20;
    std::ofstream(Path("changed.bmp.vrs"), std::ios::binary) << bytes;
    keys.key = "secret key";
    ui.log.clear();
    cmd.OpenFileByPath(Path("changed.bmp.vrs"));
    EXPECT_EQ(ui.log, (std::vector<std::string>{std::string("warning ") + kUnableToDecrypt}));
    EXPECT_TRUE(FilesIn(work).empty());
    EXPECT_EQ(image.imgMain, Filled(4, 4, 8));
    EXPECT_EQ(image.CurrentFileName, Path("current.bmp"));
}

TEST_F(StrongEncryptionCommandsTest, OlderDesFilesStillOpen) {
    WriteImageFile(Filled(9, 6, 3), Path("photo.bmp"));
    Encipher(Path("photo.bmp"), Path("photo.bmp.vrx"), "secret key");
    cmd.OpenFileByPath(Path("photo.bmp.vrx"));
    EXPECT_EQ(image.imgMain, Filled(9, 6, 3));
}

}  // namespace
}  // namespace vimbrel
