#include "crypto/encrypted_names.h"
#include "crypto/key_text.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(EncryptedNames, PlainNameAndExtensionRules) {
    struct Case {
        const char* name;
        bool encrypted;
        const char* plain;  // checked for encrypted names only
    } cases[] = {
        {"x.bmp.vrx", true, "x.bmp"},
        {"X.JPG.VRX", true, "X.JPG"},
        {"report.doc.Vrx", true, "report.doc"},
        {"a.vrx", true, "a"},
        {"photo.jpgx", true, "photo.jpg"},
        {"shot.BmPx", true, "shot.BmP"},
        {"old.JPEGX", true, "old.JPEG"},
        {"C:\\pics.d\\x.bmp.vrx", true, "C:\\pics.d\\x.bmp"},
        {"/tmp/dir.vrx/x.jpgx", true, "/tmp/dir.vrx/x.jpg"},
        // No extension counts as encrypted; the name then loses its last character.
        {"secret", true, "secre"},
        {"dir.vrx/secret", true, "dir.vrx/secre"},
        {"x.bmp", false, ""},
        {"x.vrxx", false, ""},
        {"x.x", false, ""},
        {"x.pngx", false, ""},
        {"x.png.VRX", true, "x.png"},
        {"x.", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsEncryptedName(c.name), c.encrypted) << c.name;
        if (c.encrypted) {
            EXPECT_EQ(PlainNameOf(c.name), c.plain) << c.name;
        }
    }
    EXPECT_EQ(UpperExtension("dir.x/a.b.jpegX"), ".JPEGX");
    EXPECT_EQ(UpperExtension("dir.x/noext"), "");
    EXPECT_EQ(EncryptedNameOf("a.txt"), "a.txt.VRX");
}

TEST(EncryptedNames, SavedEncryptedImagesSayWhatTheyHoldInside) {
    struct Case {
        const char* chosen;
        int filter;
        const char* saved;
        const char* plain;  // in the temporary folder "T\"
    } cases[] = {
        {"C:\\p\\shot", 1, "C:\\p\\shot.bmp.vrx", "T\\shot.bmp"},
        {"C:\\p\\shot", 2, "C:\\p\\shot.jpg.vrx", "T\\shot.jpg"},
        {"C:\\p\\shot.jpeg.vrx", 1, "C:\\p\\shot.jpeg.vrx", "T\\shot.jpeg"},
        {"C:\\p\\shot.BMP.Vrx", 2, "C:\\p\\shot.BMP.Vrx", "T\\shot.BMP"},
        {"C:\\p\\shot.vrx", 1, "C:\\p\\shot.vrx.bmp.vrx", "T\\shot.vrx.bmp"},
        {"C:\\p\\shot.jpg", 1, "C:\\p\\shot.jpg.bmp.vrx", "T\\shot.jpg.bmp"},
        {"C:\\p\\shot", 3, "C:\\p\\shot.png.vrx", "T\\shot.png"},
        {"C:\\p\\shot.png.vrx", 2, "C:\\p\\shot.png.vrx", "T\\shot.png"},
        {"C:\\p\\shot.gif.vrx", 3, "C:\\p\\shot.gif.vrx.png.vrx", "T\\shot.gif.vrx.png"},
        {"C:\\p.jpg\\.vrx", 1, "C:\\p.jpg\\.vrx.bmp.vrx", "T\\.vrx.bmp"},  // the folder's ".jpg" is not the name's
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncryptedSaveName(c.chosen, c.filter), c.saved) << c.chosen;
        EXPECT_EQ(PlainTemporaryPath("T\\", c.saved), c.plain) << c.chosen;
    }
}

TEST(EncryptedNames, FilesAreDecipheredIntoTheWorkFolderUnderTheirPlainName) {
    EXPECT_EQ(DecipheredPath("W\\", "C:\\in\\photo.jpg.vrx"), "W\\photo.jpg");
    EXPECT_EQ(DecipheredPath("W\\", "C:\\in\\photo.JPGX"), "W\\photo.JPG");
    EXPECT_EQ(DecipheredPath("W\\", "C:\\in\\a.vrx"), "W\\a");
    EXPECT_EQ(DecipheredPath("W\\", "C:\\in.d\\secret"), "W\\secre");
    EXPECT_EQ(DecipheredPath("W\\", "C:\\in\\.vrx"), "") << "nothing left of the name";
    EXPECT_EQ(DecipheredPath("W\\", "C:\\in\\x"), "");
}

TEST(KeyDialog, OkNeedsEightCharactersAndTheDecipherNoteNamesTheFile) {
    EXPECT_FALSE(KeyOkEnabled(0));
    EXPECT_FALSE(KeyOkEnabled(7));
    EXPECT_TRUE(KeyOkEnabled(8));
    EXPECT_TRUE(KeyOkEnabled(300));
    EXPECT_EQ(DecipherKeyNote("photo.jpg.vrx"), "\r\nFile: photo.jpg.vrx");
}

TEST(KeyDialog, AMovedKeyTextIsEmptiedWhereItCameFrom) {
    KeyText a(std::string_view("short key"));
    KeyText b(std::move(a));
    EXPECT_EQ(b.View(), "short key");
    EXPECT_EQ(a.Size(), 0u);
    KeyText c(std::string_view("a much longer key than fits in place"));
    c = std::move(b);
    EXPECT_EQ(c.View(), "short key");
    EXPECT_EQ(b.Size(), 0u);
}

}  // namespace
}  // namespace vimbrel
