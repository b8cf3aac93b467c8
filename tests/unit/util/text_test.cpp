#include "util/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vimbrel {
namespace {

struct FieldCase {
    const char* s;
    char delim;
    int n;
    const char* expected;
};

TEST(GetField, TakesFieldsBetweenDelimiters) {
    const FieldCase cases[] = {
        {"100,200,300,400", ',', 1, "100"},
        {"100,200,300,400", ',', 2, "200"},
        {"100,200,300,400", ',', 4, "400"},
        {"100,200,300,400", ',', 5, ""},
        {"a,,b", ',', 2, ""},
        {"a,,b", ',', 3, "b"},
        {",a", ',', 1, ""},
        {",a", ',', 2, "a"},
        {"Alt|#15", '#', 2, "15"},
        {"Alt", '#', 2, ""},
        {"Alt", '#', 1, "Alt"},
        {"", ',', 1, ""},
        {"a,b", ',', 0, ""},
        {"a,b", ',', -3, ""},
        {"a,b,", ',', 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetField(c.s, c.delim, c.n), c.expected) << '"' << c.s << "\" field " << c.n;
}

TEST(CountFields, CountsDelimitersPlusOne) {
    EXPECT_EQ(CountFields("", '\\'), 0);
    EXPECT_EQ(CountFields("abc", '\\'), 1);
    EXPECT_EQ(CountFields("C:\\a\\b\\", '\\'), 4);
    EXPECT_EQ(CountFields(",", ','), 2);
}

struct IntCase {
    const char* s;
    std::int64_t expected;
};

TEST(LeadingInt, ReadsAsMuchAsParses) {
    const IntCase cases[] = {
        {"", 0},
        {"42", 42},
        {" 42", 42},
        {"42px", 42},
        {"12.5", 12},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X10", 16},
        {"-7", -7},
        {"+7", 7},
        {"--7", 0},
        {"abc", 0},
        {"-", 0},
        {"$", 0},
        {"12abc", 12},
        {"42 ", 42},
        {"-$10", -16},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        // One digit too many: the digits before the overflow are read.
        {"92233720368547758070", 9223372036854775807LL},
        {"99999999999999999999", 9999999999999999999ULL / 10},
        {"$FFFFFFFFFFFFFFFF", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadingInt(c.s), c.expected) << '"' << c.s << '"';
}

TEST(LeadingInt, ThirtyTwoBitCallersTakeTheLowBits) {
    EXPECT_EQ(LeadingInt32("12abc"), 12);
    EXPECT_EQ(LeadingInt32("4294967297"), 1);
    EXPECT_EQ(LeadingInt32("-1"), -1);
}

TEST(RightStr, ClampsCounts) {
    EXPECT_EQ(RightStr("00042", 5), "00042");
    EXPECT_EQ(RightStr("0000042", 5), "00042");
    EXPECT_EQ(RightStr("42", 5), "42");
    EXPECT_EQ(RightStr("abc", 0), "");
    EXPECT_EQ(RightStr("abc", -2), "");
}

TEST(IsDigits, AcceptsDigitsAndSpacesOnly) {
    EXPECT_FALSE(IsDigits(""));
    EXPECT_FALSE(IsDigits("12a"));
    EXPECT_FALSE(IsDigits("-1"));
    EXPECT_TRUE(IsDigits("0012"));
    EXPECT_TRUE(IsDigits(" 12"));
}

TEST(AddBackslash, AddsExactlyOne) {
    EXPECT_EQ(AddBackslash("C:\\Temp"), "C:\\Temp\\");
    EXPECT_EQ(AddBackslash("C:\\Temp\\"), "C:\\Temp\\");
    EXPECT_EQ(AddBackslash(""), "");
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
    std::string t("abc\0def", 7);
    TrimAtNul(t);
    EXPECT_EQ(t, "abc");
    std::string u = "plain";
    TrimAtNul(u);
    EXPECT_EQ(u, "plain");
}

TEST(AsciiCase, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(AsciiUpperCase("TKXDataLogger\xe9"), "TKXDATALOGGER\xe9");
    EXPECT_EQ(AsciiLowerCase("ABC\xc9"), "abc\xc9");
    EXPECT_TRUE(StartsWithNoCase("TKXDataLoggerMain", "tkxdatalogger"));
    EXPECT_FALSE(StartsWithNoCase("MyTKXDataLogger", "TKXDataLogger"));
    EXPECT_TRUE(EqualsNoCase("%mypictures%", "%MYPICTURES%"));
}

}  // namespace
}  // namespace vimbrel
