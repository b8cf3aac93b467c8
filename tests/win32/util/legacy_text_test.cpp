// UTF-8 names and legacy texts against the real system: std::filesystem sees every
// character of a UTF-8 name, and a text of the system's legacy code page reads as UTF-8.
#include "util/win32/legacy_text.h"

#include <gtest/gtest.h>

#include "util/utf8_text.h"

namespace vimbrel::win32 {
namespace {

TEST(Utf8Names, AFileSystemPathHoldsEveryCharacterOfAUtf8Name) {
    EXPECT_EQ(PathFromUtf8("C:\\Gr\xC3\xB6\xC3\x9F" "e-\xE6\x97\xA5\xE6\x9C\xAC.png").wstring(),
              L"C:\\Gr\u00F6\u00DFe-\u65E5\u672C.png");
}

TEST(Utf8Names, LegacyTextsReadInTheSystemsCodePage) {
    // The test prefix's system locale is English: code page 1252, where 0x80 is the euro.
    EXPECT_EQ(LegacyToUtf8("B\xFCro \x80"), "B\xC3\xBCro \xE2\x82\xAC");
    EXPECT_EQ(LegacyToUtf8(""), "");
}

}  // namespace
}  // namespace vimbrel::win32
