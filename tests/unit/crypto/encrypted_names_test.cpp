#include "crypto/encrypted_names.h"

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

}  // namespace
}  // namespace vimbrel
