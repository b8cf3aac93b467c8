#include "util/window_position.h"

#include <gtest/gtest.h>

#include "app/logger_record.h"

namespace vimbrel {
namespace {

TEST(MainPosn, ParsesFieldsLeniently) {
    const std::pair<const char*, WindowBounds> cases[] = {
        {"100,50,400,300", {100, 50, 400, 300}},
        {"100,50", {100, 50, 0, 0}},
        {" 10px,x,$10,-5", {10, 0, 16, -5}},
        {"", {0, 0, 0, 0}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseMainPosn(text), expected) << text;
    EXPECT_EQ(FormatMainPosn({-8, 20, 531, 300}), "-8,20,531,300");
}

TEST(MainPosn, RestoresOnScreenAndCentresOffScreen) {
    const WindowBounds designed{0, 0, 547, 360};
    EXPECT_EQ(RestoredBounds("100,50,400,300", designed, 1024, 768), (WindowBounds{100, 50, 400, 300}));
    EXPECT_EQ(RestoredBounds("5000,100,400,300", designed, 1024, 768), (WindowBounds{238, 204, 547, 360}));
    EXPECT_EQ(RestoredBounds("100,5000,400,300", designed, 1024, 768), (WindowBounds{238, 204, 547, 360}));
    EXPECT_EQ(RestoredBounds("", designed, 1024, 768), (WindowBounds{238, 204, 547, 360}));
    // The corner exactly at the screen's edge still counts as on the screen.
    EXPECT_EQ(RestoredBounds("1024,768,10,10", designed, 1024, 768), (WindowBounds{1024, 768, 10, 10}));
}

TEST(MainPosn, CentringTruncatesTowardZero) {
    EXPECT_EQ(CentreWindow({0, 0, 101, 51}, 1024, 768), (WindowBounds{461, 358, 101, 51}));
    EXPECT_EQ(CentreWindow({0, 0, 1031, 777}, 1024, 768), (WindowBounds{-3, -4, 1031, 777}));
}

TEST(LogRecord, LayoutIsFixedAndLittleEndian) {
    LogRecord r = BuildLogRecord(0x01020304, "Begin DPR");
    EXPECT_EQ(r.size(), 264u);
    EXPECT_EQ((std::vector<int>{r[0], r[1], r[2], r[3]}), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ((std::vector<int>{r[4], r[5], r[6], r[7]}), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(r[8], 9);
    EXPECT_EQ(std::string(r.begin() + 9, r.begin() + 18), "Begin DPR");
    EXPECT_EQ(r[18], 0);
}

TEST(LogRecord, LongLinesAreCutAndEmptyLinesStillSent) {
    std::string line(300, 'x');
    line[254] = 'L';
    line[255] = 'Z';
    LogRecord r = BuildLogRecord(0, line);
    EXPECT_EQ(r[8], 255);
    EXPECT_EQ(r[9 + 254], 'L');
    LogRecord empty = BuildLogRecord(0, "");
    EXPECT_EQ(empty[8], 0);
    EXPECT_EQ(empty[0], 1);
}

}  // namespace
}  // namespace vimbrel
