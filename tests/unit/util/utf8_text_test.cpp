// Stored texts: UTF-8 as it stands, the legacy code page where a text is not UTF-8.
#include <gtest/gtest.h>

#include "util/utf8_text.h"

namespace vimbrel {
namespace {

// Latin-1, the legacy code page of these tests: every byte is the code point of its value.
std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += char(0xC0 | (b >> 6));
            out += char(0x80 | (b & 0x3F));
        }
    }
    return out;
}

TEST(Utf8TextTest, TellsWellFormedUtf8FromEverythingElse) {
    struct Case {
        const char* name;
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"ASCII", "C:\\Shots\\Vimbrel-00001.bmp", true},
        {"two, three and four bytes", "Gr\xC3\xB6\xC3\x9F" "e-\xE6\x97\xA5\xE6\x9C\xAC-\xF0\x9F\x93\xB7", true},
        {"a legacy o-umlaut", "Gr\xF6\xDF" "e", false},
        {"a stray continuation byte", "a\x80z", false},
        {"a sequence cut short at the end", "\xE6\x97", false},
        {"an overlong slash", "\xC0\xAF", false},
        {"a surrogate", "\xED\xA0\x80", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.name;
}

TEST(Utf8TextTest, OnlyTextThatIsNotUtf8IsReadInTheLegacyCodePage) {
    EXPECT_EQ(StoredTextAsUtf8("C:\\Bilder\\Gr\xC3\xB6\xC3\x9F" "e", Latin1ToUtf8), "C:\\Bilder\\Gr\xC3\xB6\xC3\x9F" "e")
        << "UTF-8 is never decoded a second time";
    EXPECT_EQ(StoredTextAsUtf8("C:\\Bilder\\Gr\xF6\xDF" "e", Latin1ToUtf8), "C:\\Bilder\\Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(StoredTextAsUtf8("[Printer]\r\nName=B\xFCro\r\n[General]\r\nAutoPrint=\xC3\xA9t\xC3\xA9\r\n", Latin1ToUtf8),
              "[Printer]\r\nName=B\xC3\xBCro\r\n[General]\r\nAutoPrint=\xC3\xA9t\xC3\xA9\r\n")
        << "line by line: each line as it was written";
    EXPECT_EQ(StoredTextAsUtf8("", Latin1ToUtf8), "");
}

}  // namespace
}  // namespace vimbrel
