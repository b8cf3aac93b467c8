#include "crypto/encrypted_names.h"
#include "crypto/key_text.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(EncryptedNames, AnEncryptedSaveIsWrittenInPlainFirstUnderItsInnerName) {
    struct Case {
        const char *name, *saved, *plain;  // in the temporary folder "T\\"
    } cases[] = {
        {"bitmap", "C:\\p\\shot.bmp.vrx", "T\\shot.bmp"},
        {"case kept", "C:\\p\\shot.BMP.Vrx", "T\\shot.BMP"},
        {"a chosen .vrx with its kind added", "C:\\p\\shot.vrx.bmp.vrx", "T\\shot.vrx.bmp"},
        {"nothing but .vrx in the name", "C:\\p.jpg\\.vrx.bmp.vrx", "T\\.vrx.bmp"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlainTemporaryPath("T\\", c.saved), c.plain) << c.name;
}

TEST(EncryptedNames, FilesAreDecipheredIntoTheWorkFolderUnderTheirPlainName) {
    struct Case {
        const char *name, *encrypted, *plain;
    } cases[] = {
        {"vrx", "C:\\in\\photo.jpg.vrx", "W\\photo.jpg"},
        {"older form", "C:\\in\\photo.JPGX", "W\\photo.JPG"},
        {"vrx after no extension", "C:\\in\\a.vrx", "W\\a"},
        {"no extension", "C:\\in.d\\secret", "W\\secre"},
        // The drive stayed in the name once, which no folder can hold.
        {"drive-relative", "C:shot.bmp.vrx", "W\\shot.bmp"},
        {"drive-relative, no extension", "C:secret", "W\\secre"},
        {"nothing left of the name", "C:\\in\\.vrx", ""},
        {"nothing left of a one-letter name", "C:\\in\\x", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DecipheredPath("W\\", c.encrypted), c.plain) << c.name;
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
