// The text channel's layout on a fake page: every character 10 pixels wide (so t = 80),
// ordinary characters 30 high, "#" 50 high, a character height of 40, a page 1000 x 500.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/text_print.h"

namespace vimbrel {
namespace {

class FakeTextJob : public TextJob {
public:
    int PageWidth() override { return width; }
    int PageHeight() override { return 500; }
    int AverageCharWidth() override { return 10; }
    int CharHeight() override { return 40; }
    Size Extent(std::string_view text) override {
        int height = text.empty() ? 0 : 30;
        for (char c : text)
            if (c == '#') height = 50;
        return {10 * int(text.size()), height};
    }
    std::size_t PreviousCharStart(std::string_view, std::size_t end) override { return end == 0 ? 0 : end - 1; }
    void Draw(int x, int y, std::string_view text) override {
        if (failDraw) throw std::runtime_error("the printer went away");
        log.push_back(std::to_string(x) + "," + std::to_string(y) + " " + std::string(text));
    }
    void NewPage() override { log.push_back("page"); }
    void BeginDoc(const TextFont& font) override {
        log.push_back("begin " + font.face + " " + std::to_string(font.points));
    }
    void EndDoc() override { log.push_back("end"); }
    void AbortDoc() override { log.push_back("abort"); }

    int width = 1000;
    bool failDraw = false;
    std::vector<std::string> log;
};

std::vector<std::string> Printed(const std::string& text, FakeTextJob& job) {
    PrintText(text, DefaultTextFont(), job);
    return job.log;
}

using Log = std::vector<std::string>;

TEST(TextPrint, TabsGoToTheNextMultipleOfEightAverageWidths) {
    EXPECT_EQ(NextTabStop(0, 80), 80);
    EXPECT_EQ(NextTabStop(10, 80), 80);
    EXPECT_EQ(NextTabStop(80, 80), 160);
    EXPECT_EQ(NextTabStop(79, 80), 160);

    FakeTextJob job;
    EXPECT_EQ(Printed("a\tbc\td", job),
              (Log{"begin Courier New 12", "0,0 a", "80,0 bc", "160,0 d", "end"}));
    // A tab past the page's width starts a new line.
    FakeTextJob narrow;
    narrow.width = 100;
    EXPECT_EQ(Printed("abcdefghi\tX", narrow), (Log{"begin Courier New 12", "0,0 abcdefghi", "0,32 X", "end"}));
}

TEST(TextPrint, LineFeedsStartLinesCarriageReturnsDoNothingBlankLinesAreOneCharacterHigh) {
    FakeTextJob job;
    // Lines are as high as their tallest run and 2; a blank line is the character height.
    EXPECT_EQ(Printed("A\r\nB\n\n#\nC", job),
              (Log{"begin Courier New 12", "0,0 A", "0,32 B", "0,104 #", "0,156 C", "end"}));
    FakeTextJob returns;
    EXPECT_EQ(Printed("AB\rCD", returns), (Log{"begin Courier New 12", "0,0 AB", "20,0 CD", "end"}));
}

TEST(TextPrint, LongLinesWrapAtThePrintableWidth) {
    FakeTextJob job;
    const std::string line(300, 'x');
    // 100 characters fit across; chunks of 128 go on where the last one stopped.
    EXPECT_EQ(Printed(line, job), (Log{"begin Courier New 12", "0,0 " + std::string(100, 'x'),
                                       "0,32 " + std::string(28, 'x'), "280,32 " + std::string(72, 'x'),
                                       "0,64 " + std::string(56, 'x'), "560,64 " + std::string(44, 'x'), "end"}));
    // A character wider than the whole line still prints, one to a line.
    FakeTextJob tiny;
    tiny.width = 5;
    EXPECT_EQ(Printed("ab", tiny), (Log{"begin Courier New 12", "0,0 a", "0,32 b", "end"}));
}

TEST(TextPrint, PagesBreakOnFormFeedAndAtTheFoot) {
    FakeTextJob job;
    // A form feed first leaves the first page empty.
    EXPECT_EQ(Printed("\fA", job), (Log{"begin Courier New 12", "page", "0,0 A", "end"}));

    // 32 a line: after the 14th line Y = 448 > 500 - 2 x 32, so its line feed breaks the page.
    std::string lines;
    for (int i = 0; i < 16; ++i) lines += "L\n";
    FakeTextJob tall;
    const Log log = Printed(lines, tall);
    ASSERT_EQ(log.size(), 1u + 16u + 2u);
    EXPECT_EQ(log[14], "0,416 L");
    EXPECT_EQ(log[15], "page");
    EXPECT_EQ(log[16], "0,0 L");
    EXPECT_EQ(log[17], "0,32 L");
    EXPECT_EQ(log[18], "end");
}

TEST(TextPrint, EmptyTextsPrintNothingAndPrinterFailuresEndTheJobWithTheProgramsMessage) {
    FakeTextJob empty;
    EXPECT_TRUE(Printed("", empty).empty());

    FakeTextJob job;
    job.failDraw = true;
    try {
        PrintText("text", {"Arial", 8}, job);
        FAIL() << "a failed job reports nothing";
    } catch (const ETextPrintError& e) {
        EXPECT_STREQ(e.what(), "Error printing text.");
    }
    EXPECT_EQ(job.log, (Log{"begin Arial 8", "abort"}));
}

}  // namespace
}  // namespace vimbrel
