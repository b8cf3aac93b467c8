// The image-file kinds, asked the way each part of the program asks them. The cases name
// where the answers used to differ from one place to another.
#include <gtest/gtest.h>

#include <optional>

#include "workspace/file_kinds.h"

namespace vimbrel {
namespace {

TEST(FileKinds, ReaderAndWriterByExtension) {
    struct Case {
        const char *name, *path;
        ImageFormat read, write;
    } cases[] = {
        {"bitmap", "x.bmp", ImageFormat::Bmp, ImageFormat::Bmp},
        {"any letter case", "x.BmP", ImageFormat::Bmp, ImageFormat::Bmp},
        {"jpg", "x.jpg", ImageFormat::Jpeg, ImageFormat::Jpeg},
        {"jpeg, the second JPEG extension", "x.JPEG", ImageFormat::Jpeg, ImageFormat::Jpeg},
        {"png", "x.png", ImageFormat::Png, ImageFormat::Png},
        {"a folder's extension is not the name's", "C:\\a.png\\x", ImageFormat::None, ImageFormat::Jpeg},
        {"after a drive", "C:x.PnG", ImageFormat::Png, ImageFormat::Png},
        {"enciphered picture", "x.png.vrx", ImageFormat::None, ImageFormat::Jpeg},
        {"older enciphered picture", "x.bmpx", ImageFormat::None, ImageFormat::Jpeg},
        {"text is written as JPEG", "x.txt", ImageFormat::None, ImageFormat::Jpeg},
        {"no extension is written as JPEG", "x", ImageFormat::None, ImageFormat::Jpeg},
        {"JPEG without its dot", "scanJPEG", ImageFormat::None, ImageFormat::Jpeg},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadFormatFor(c.path), c.read);
        EXPECT_EQ(WriteFormatFor(c.path), c.write);
    }
}

TEST(FileKinds, EncipheredNamesAndWhatTheyDecipherTo) {
    struct Case {
        const char *name, *path;
        EncipheredForm form;
        const char* plain;  // checked for enciphered names only
    } cases[] = {
        {"vrx after a picture", "x.bmp.vrx", EncipheredForm::Vrx, "x.bmp"},
        {"vrx in capitals", "X.JPG.VRX", EncipheredForm::Vrx, "X.JPG"},
        {"vrx after any file", "report.doc.Vrx", EncipheredForm::Vrx, "report.doc"},
        {"vrx after a png", "x.png.VRX", EncipheredForm::Vrx, "x.png"},
        {"bare vrx", "a.vrx", EncipheredForm::Vrx, "a"},
        {"nothing left but the folder", "C:\\in\\.vrx", EncipheredForm::Vrx, "C:\\in\\"},
        {"strong after a picture", "x.png.vrs", EncipheredForm::Strong, "x.png"},
        {"strong in capitals, after any file", "REPORT.DOC.VRS", EncipheredForm::Strong, "REPORT.DOC"},
        {"bare strong", "a.vrs", EncipheredForm::Strong, "a"},
        {"older jpg", "photo.jpgx", EncipheredForm::OlderX, "photo.jpg"},
        {"older bitmap, mixed case", "shot.BmPx", EncipheredForm::OlderX, "shot.BmP"},
        {"older jpeg", "old.JPEGX", EncipheredForm::OlderX, "old.JPEG"},
        {"folder with dots", "C:\\pics.d\\x.bmp.vrx", EncipheredForm::Vrx, "C:\\pics.d\\x.bmp"},
        {"folder named like a cipher", "/tmp/dir.vrx/x.jpgx", EncipheredForm::OlderX, "/tmp/dir.vrx/x.jpg"},
        {"no extension loses its last character", "secret", EncipheredForm::NoExtension, "secre"},
        {"no extension below a dotted folder", "dir.vrx/secret", EncipheredForm::NoExtension, "dir.vrx/secre"},
        {"drive-relative, no extension", "C:secret", EncipheredForm::NoExtension, "C:secre"},
        {"plain picture", "x.bmp", EncipheredForm::None, ""},
        {"vrx with an x", "x.vrxx", EncipheredForm::None, ""},
        {"x after no picture", "x.x", EncipheredForm::None, ""},
        {"png never had an older form", "x.pngx", EncipheredForm::None, ""},
        {"a lone dot is an extension", "x.", EncipheredForm::None, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EncipheredFormOf(c.path), c.form);
        if (c.form != EncipheredForm::None) {
            EXPECT_EQ(DecipheredNameOf(c.path), c.plain);
        }
    }
    EXPECT_EQ(DecipheredNameOf(""), "");
    EXPECT_EQ(EncipheredCopyName("C:\\p\\a.png"), "C:\\p\\a.png.vrx");
    EXPECT_EQ(EncryptedFileName("a.txt"), "a.txt.VRX");
    EXPECT_EQ(EncipheredCopyName("C:\\p\\a.png", FileCipher::Strong), "C:\\p\\a.png.vrs");
    EXPECT_EQ(EncryptedFileName("a.txt", FileCipher::Strong), "a.txt.VRS");
    EXPECT_TRUE(IsOwnEncipheredName("a.bmp.VRS"));
    EXPECT_TRUE(IsOwnEncipheredName("a.bmp.vrx"));
    EXPECT_FALSE(IsOwnEncipheredName("a.bmpx")) << "the older forms are not written any more";
}

TEST(FileKinds, OpenRoutes) {
    struct Case {
        const char *name, *path;
        OpenRoute route, deciphered;
    } cases[] = {
        {"vrx", "C:\\a\\x.vrx", OpenRoute::Decipher, OpenRoute::HandToSystem},
        {"older jpeg", "x.JpegX", OpenRoute::Decipher, OpenRoute::HandToSystem},
        {"no extension: deciphered first, then tried as a picture", "C:\\a.b\\noext", OpenRoute::Decipher,
         OpenRoute::LoadImage},
        {"jpeg", "x.jpeg", OpenRoute::LoadImage, OpenRoute::LoadImage},
        {"bitmap", "x.Bmp", OpenRoute::LoadImage, OpenRoute::LoadImage},
        {"png", "x.PNG", OpenRoute::LoadImage, OpenRoute::LoadImage},
        {"enciphered png", "x.png.vrx", OpenRoute::Decipher, OpenRoute::HandToSystem},
        {"no picture", "x.jp", OpenRoute::HandToSystem, OpenRoute::HandToSystem},
        {"pngx was never enciphered", "x.pngx", OpenRoute::HandToSystem, OpenRoute::HandToSystem},
        {"a document", "report.doc", OpenRoute::HandToSystem, OpenRoute::HandToSystem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OpenRouteFor(c.path), c.route);
        EXPECT_EQ(OpenRouteFor(c.path, true), c.deciphered);
    }
}

TEST(FileKinds, PreviewShowsOnlyPicturesTheReaderTakes) {
    struct Case {
        const char* path;
        bool preview;
    } cases[] = {
        {"C:\\p\\x.bmp", true}, {"x.JPG", true},      {"x.jpeg", true},  {"x.png", true},
        {"x.bmp.vrx", false},   {"x.jpgx", false},    {"noext", false},  {"x.gif", false},
        {"C:\\p.png\\", false},
    };
    for (const Case& c : cases) EXPECT_EQ(PreviewsAsPicture(c.path), c.preview) << c.path;
}

TEST(FileKinds, OpenDialogStartsOnTheLastOpenedKind) {
    struct Case {
        const char *name, *lastOpenExt;
        int index;
    } cases[] = {
        {"bitmap", ".bmp", 1},
        {"jpg", ".jpg", 2},
        {"png, after the enciphered files", ".png", 4},
        {"jpeg is not the JPEG kind's own: enciphered files", ".jpeg", 3},
        {"vrx", ".vrx", 3},
        {"stored in capitals", ".BMP", 3},
        {"a document", ".doc", 3},
        {"nothing", "", 3},
    };
    for (const Case& c : cases) EXPECT_EQ(OpenFilterIndex(c.lastOpenExt), c.index) << c.name;
    // The entries those numbers name, as the dialog has always shown them.
    EXPECT_EQ(OpenFilter(), "Bitmaps (*.bmp)|*.bmp*|JPEG Image File (*.jpeg,*.jpg)|*jp*g*|Vimbrel encrypted file "
                            "(*.vrx;*.vrs)|*.vrx;*.vrs|PNG Image File (*.png)|*.png*");
}

TEST(FileKinds, SaveDialogStartsOnAutoExtAndAddsTheEntrysExtension) {
    struct IndexCase {
        const char *name, *autoExt;
        int index;
    } indexCases[] = {
        {"bitmap", ".bmp", 1},
        {"jpg", ".jpg", 2},
        {"png", ".png", 3},
        {"jpeg: the bitmap entry, though the settings show .jpg", ".jpeg", 1},
        {"capitals", ".JPG", 1},
        {"unknown", ".gif", 1},
    };
    for (const IndexCase& c : indexCases) EXPECT_EQ(SaveFilterIndex(c.autoExt), c.index) << c.name;
    EXPECT_EQ(SaveFilter(), "Bitmap  (*.bmp)|*.bmp|jpg,jpeg (*.jpeg,*.jpg)|*.jp*g|png (*.png)|*.png");

    struct NameCase {
        const char* chosen;
        int filter;
        const char* name;
    } nameCases[] = {
        {"picture.jpeg", 1, "picture.jpeg"},
        {"picture.BMP", 2, "picture.BMP"},
        {"picture.png", 1, "picture.png"},
        {"picture.Png", 2, "picture.Png"},
        {"picture.gif", 1, "picture.gif.bmp"},
        {"picture", 2, "picture.jpg"},
        {"picture", 3, "picture.png"},
        {"picture", 0, "picture.jpg"},
        {"picture", 9, "picture.jpg"},
        {"picture.vrx", 1, "picture.vrx.bmp"},
        {"C:\\a.b\\picture", 1, "C:\\a.b\\picture.bmp"},
    };
    for (const NameCase& c : nameCases) EXPECT_EQ(ApplySaveExtension(c.chosen, c.filter), c.name) << c.chosen;
}

TEST(FileKinds, AutoExtInTheSettingsList) {
    EXPECT_EQ(AutoExtChoices(), (std::vector<std::string>{".bmp", ".jpg", ".png"}));
    struct Case {
        const char *name, *autoExt;
        int item;
    } cases[] = {
        {"bitmap", ".bmp", 0},
        {"jpg", ".jpg", 1},
        {"png", ".png", 2},
        {"jpeg shows as jpg", ".jpeg", 1},
        {"capitals show as jpg", ".BMP", 1},
        {"nothing shows as jpg", "", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(AutoExtItem(c.autoExt), c.item) << c.name;
    EXPECT_EQ(AutoExtOfItem(0), ".bmp");
    EXPECT_EQ(AutoExtOfItem(2), ".png");
    EXPECT_EQ(AutoExtOfItem(-1), ".jpg") << "no selection stores .jpg";
    EXPECT_EQ(AutoExtOfItem(3), ".jpg");
}

TEST(FileKinds, EncryptedSavesSayWhatTheyHoldInside) {
    struct Case {
        const char* chosen;
        int filter;
        const char* saved;
    } cases[] = {
        {"C:\\p\\shot", 1, "C:\\p\\shot.bmp.vrx"},
        {"C:\\p\\shot", 2, "C:\\p\\shot.jpg.vrx"},
        {"C:\\p\\shot", 3, "C:\\p\\shot.png.vrx"},
        {"C:\\p\\shot", 0, "C:\\p\\shot.jpg.vrx"},
        {"C:\\p\\shot.jpeg.vrx", 1, "C:\\p\\shot.jpeg.vrx"},
        {"C:\\p\\shot.BMP.Vrx", 2, "C:\\p\\shot.BMP.Vrx"},
        {"C:\\p\\shot.png.vrx", 2, "C:\\p\\shot.png.vrx"},
        {"C:\\p\\shot.vrx", 1, "C:\\p\\shot.vrx.bmp.vrx"},
        {"C:\\p\\shot.jpg", 1, "C:\\p\\shot.jpg.bmp.vrx"},
        {"C:\\p\\shot.jpgx", 1, "C:\\p\\shot.jpgx.bmp.vrx"},
        {"C:\\p\\shot.gif.vrx", 3, "C:\\p\\shot.gif.vrx.png.vrx"},
        {"C:\\p.jpg\\.vrx", 1, "C:\\p.jpg\\.vrx.bmp.vrx"},  // the folder's ".jpg" is not the name's
    };
    for (const Case& c : cases) EXPECT_EQ(EncryptedSaveName(c.chosen, c.filter), c.saved) << c.chosen;
    EXPECT_EQ(SaveEncryptedFilter(),
              "Bitmap - Encrypted |*.bmp.vrx|jpg,jpeg - Encrypted |*.jp*g.vrx|png - Encrypted |*.png.vrx");
}

TEST(FileKinds, StrongSavesEndInTheirOwnExtension) {
    struct Case {
        const char* chosen;
        int filter;
        const char* saved;
    } cases[] = {
        {"C:\\p\\shot", 1, "C:\\p\\shot.bmp.vrs"},
        {"C:\\p\\shot", 3, "C:\\p\\shot.png.vrs"},
        {"C:\\p\\shot.JPEG.VRS", 1, "C:\\p\\shot.JPEG.VRS"},
        // A DES name is no strong name: the inner name still says what the content is.
        {"C:\\p\\shot.bmp.vrx", 1, "C:\\p\\shot.bmp.vrx.bmp.vrs"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncryptedSaveName(c.chosen, c.filter, FileCipher::Strong), c.saved) << c.chosen;
    EXPECT_EQ(SaveEncryptedFilter(FileCipher::Strong),
              "Bitmap - Encrypted |*.bmp.vrs|jpg,jpeg - Encrypted |*.jp*g.vrs|png - Encrypted |*.png.vrs");
    EXPECT_EQ(OpenRouteFor("x.bmp.vrs"), OpenRoute::Decipher);
}

TEST(FileKinds, MailEnciphersEveryPictureKindAndNothingElse) {
    struct Case {
        const char *name, *path;
        bool image;
    } cases[] = {
        {"bitmap", "a.bmp", true},
        {"jpeg", "B.JPEG", true},
        {"png, once sent in plain", "d.png", true},
        {"png in capitals", "E.PNG", true},
        {"JPEG without its dot, once taken for a picture", "C:\\scanJPEG", false},
        {"text", "c.txt", false},
        {"no extension, though Open takes it for enciphered", "notes", false},
        {"enciphered already", "d.jpg.vrx", false},
        {"older enciphered", "d.jpgx", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsMailedAsImage(c.path), c.image) << c.name;
}

// A picture written under any name a dialog gives it is read back as what was written,
// opens again (deciphered first when enciphered), and is enciphered when mailed.
TEST(FileKinds, EverySavedNameOpensAgainAsWhatWasWritten) {
    for (int entry = 1; entry <= 3; ++entry) {
        SCOPED_TRACE(entry);
        const std::string plain = ApplySaveExtension("shot", entry);
        EXPECT_NE(ReadFormatFor(plain), ImageFormat::None);
        EXPECT_EQ(ReadFormatFor(plain), WriteFormatFor(plain));
        EXPECT_EQ(OpenRouteFor(plain), OpenRoute::LoadImage);
        EXPECT_TRUE(PreviewsAsPicture(plain));
        EXPECT_TRUE(IsMailedAsImage(plain));

        const std::string enciphered = EncryptedSaveName("shot", entry);
        EXPECT_EQ(OpenRouteFor(enciphered), OpenRoute::Decipher);
        EXPECT_EQ(DecipheredNameOf(enciphered), plain) << "the same entry names the same kind";
        EXPECT_EQ(OpenRouteFor(DecipheredNameOf(enciphered), true), OpenRoute::LoadImage);
        EXPECT_FALSE(IsMailedAsImage(enciphered));
    }
    for (const std::string& autoExt : AutoExtChoices()) {
        SCOPED_TRACE(autoExt);
        // The save dialog starts on the entry that writes what numbered saves write.
        EXPECT_EQ(ApplySaveExtension("shot", SaveFilterIndex(autoExt)), "shot" + autoExt);
        EXPECT_EQ(AutoExtOfItem(AutoExtItem(autoExt)), autoExt);
    }
    const std::string editorFile = "~~vrl" + std::string(EditorHandOverExt());
    EXPECT_EQ(WriteFormatFor(editorFile), ImageFormat::Bmp);
    EXPECT_EQ(ReadFormatFor(editorFile), ImageFormat::Bmp);
}

}  // namespace
}  // namespace vimbrel
