#include "workspace/step_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vimbrel {
namespace {

std::vector<std::string> g_lines;
void Keep(std::string_view line) { g_lines.emplace_back(line); }

class StepTraceTest : public ::testing::Test {
protected:
    void SetUp() override { g_lines.clear(); }
    void TearDown() override { SetDebugSink(nullptr); }
};

TEST_F(StepTraceTest, WithoutASinkNothingIsTimedOrSent) {
    {
        StepTrace trace("capture");
        EXPECT_FALSE(trace.On());
        trace.Step("grab");
        EXPECT_EQ(trace.Line(), "capture: total 0.0 ms");
    }
    EXPECT_TRUE(g_lines.empty());
}

TEST_F(StepTraceTest, OneLineNamesEveryStepInOrderWithItsTimeAndTheTotalOnceTheTraceEnds) {
    SetDebugSink(&Keep);
    {
        StepTrace trace("full screen");
        EXPECT_TRUE(trace.On());
        trace.Step("grab");
        trace.Step("save");
        EXPECT_TRUE(g_lines.empty()) << "nothing is sent while the capture runs";
    }
    ASSERT_EQ(g_lines.size(), 1u);
    const std::string& line = g_lines[0];
    EXPECT_EQ(line.rfind("full screen: grab ", 0), 0u) << line;
    const auto grab = line.find("grab "), save = line.find(" save "), total = line.find(" total ");
    ASSERT_NE(save, std::string::npos) << line;
    ASSERT_NE(total, std::string::npos) << line;
    EXPECT_LT(grab, save);
    EXPECT_LT(save, total);
    EXPECT_EQ(line.substr(line.size() - 3), " ms");
}

TEST_F(StepTraceTest, FlushSendsNowAndATraceWithoutStepsSendsNothing) {
    SetDebugSink(&Keep);
    {
        StepTrace trace("start");
        trace.Step("window");
        trace.Flush();
        EXPECT_EQ(g_lines.size(), 1u);
    }
    EXPECT_EQ(g_lines.size(), 1u) << "the steps went with the flush";
    { StepTrace idle("idle"); }
    EXPECT_EQ(g_lines.size(), 1u);
}

}  // namespace
}  // namespace vimbrel
