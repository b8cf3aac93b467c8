#include "desktop/animated_icons.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fake_timing.h"

namespace vimbrel {
namespace {

using testing::FakeTimingThreads;

TAnimatedIcon Frame(std::int32_t delay, std::vector<std::uint8_t> data = {1, 2, 3}) {
    return TAnimatedIcon{delay, std::move(data)};
}

class AnimationTest : public ::testing::Test {
protected:
    AnimationTest() {
        icons.OnNewFrame = [this](TAnimatedIcons&, int frame) { announced.emplace_back(threads.now, frame); };
        icons.OnStopped = [this](TAnimatedIcons&) { stoppedAt.push_back(threads.now); };
    }
    FakeTimingThreads threads;
    TTimerPool pool{threads.Factory()};
    TAnimatedIcons icons{pool};
    std::vector<std::pair<std::uint32_t, int>> announced;  // (ms since play, frame)
    std::vector<std::uint32_t> stoppedAt;
};

TEST_F(AnimationTest, EachFrameIsAnnouncedAfterItsOwnDelayAndPlayStopsAfterTheRunLimit) {
    for (int d : {50, 100, 50}) icons.Add(Frame(d));
    icons.Play(2);
    EXPECT_TRUE(icons.Playing());
    EXPECT_TRUE(threads.Running());
    threads.Run(10000);
    const std::vector<std::pair<std::uint32_t, int>> expected{{500, 0},  {1500, 1}, {2000, 2},
                                                              {2500, 0}, {3500, 1}, {4000, 2}};
    EXPECT_EQ(announced, expected);
    EXPECT_EQ(stoppedAt, std::vector<std::uint32_t>{4000});
    EXPECT_FALSE(icons.Playing());
    EXPECT_TRUE(icons.ReachedRunLimit());
    EXPECT_FALSE(threads.Running());
}

TEST_F(AnimationTest, WithoutRunLimitPlaysUntilStopped) {
    icons.Add(Frame(10));
    icons.Play(0);
    threads.Run(1000);
    EXPECT_EQ(announced.size(), 10u);
    EXPECT_TRUE(stoppedAt.empty());
    icons.Stop();
    EXPECT_FALSE(threads.Running());
    EXPECT_EQ(stoppedAt.size(), 1u);
    EXPECT_FALSE(icons.ReachedRunLimit());
}

TEST_F(AnimationTest, UnevenTicksGatherUntilTheDelayIsReachedAndTheOverrunIsDropped) {
    icons.Add(Frame(2));
    icons.Add(Frame(2));
    icons.Play(1);
    threads.Run(100, 7);  // 7, 14, 21 ms: the third tick reaches 20 ms; the next frame starts afresh
    EXPECT_EQ(announced, (std::vector<std::pair<std::uint32_t, int>>{{21, 0}, {42, 1}}));
    EXPECT_FALSE(icons.Playing());
}

TEST_F(AnimationTest, PlayNeedsFramesAndAHandler) {
    icons.Play(0);
    EXPECT_FALSE(icons.Playing());
    icons.Add(Frame(1));
    icons.OnNewFrame = nullptr;
    icons.Play(0);
    EXPECT_FALSE(icons.Playing());
    EXPECT_EQ(threads.started, 0);
}

TEST_F(AnimationTest, FramesDeletedWhilePlayingAreSkippedSafely) {
    for (int d : {1, 1, 1}) icons.Add(Frame(d));
    icons.Play(0);
    threads.Run(20);  // frames 0 and 1 announced, current is 2
    icons.Delete(2);
    icons.Delete(1);
    threads.Run(10);
    ASSERT_FALSE(announced.empty());
    EXPECT_EQ(announced.back().second, 0);
    icons.Clear();
    const std::size_t before = announced.size();
    threads.Run(50);
    EXPECT_EQ(announced.size(), before);
    icons.Stop();
}

TEST_F(AnimationTest, DestroyedListLeavesThePool) {
    {
        TAnimatedIcons other(pool);
        other.OnNewFrame = [](TAnimatedIcons&, int) {};
        other.Add(Frame(1));
        other.Play(0);
        EXPECT_TRUE(threads.Running());
    }
    EXPECT_FALSE(threads.Running());
    EXPECT_EQ(pool.Items().size(), 1u);  // the fixture's own list, disabled
}

TEST_F(AnimationTest, FrameListOperations) {
    icons.Add(Frame(1, {1}));
    icons.AddNew().Delay = 7;
    icons.Insert(0, Frame(3, {3}));
    EXPECT_EQ(icons.Count(), 3);
    EXPECT_EQ(icons.Item(0).Delay, 3);
    EXPECT_TRUE(icons.Item(2).Empty());
    EXPECT_THROW(icons.Insert(4, Frame(1)), std::out_of_range);
    EXPECT_THROW(icons.Delete(3), std::out_of_range);
    icons.Delete(0);
    EXPECT_EQ(icons.Item(0).Delay, 1);

    TAnimatedIcons copy(pool, true);
    copy.Title = "Spin";
    copy.Author = "KRD";
    EXPECT_FALSE(copy.SameFrames(icons));
    copy.Assign(icons);
    EXPECT_TRUE(copy.SameFrames(icons));
    EXPECT_EQ(copy.Title, "");
    EXPECT_FALSE(copy.Large());
    copy.Item(0).Delay = 99;  // a copy, not shared
    EXPECT_EQ(icons.Item(0).Delay, 1);
}

TEST_F(AnimationTest, IconsStreamRoundTrip) {
    icons.Title = "Busy";
    icons.Author = "KRD";
    icons.Add(Frame(25, {0, 0, 1, 0, 9}));
    icons.AddNew().Delay = -4;
    const std::vector<std::uint8_t> stream = icons.WriteIcons();
    const std::vector<std::uint8_t> expected{
        4, 0, 0, 0, 'B', 'u', 's', 'y', 3, 0, 0, 0, 'K', 'R', 'D', 0, 2, 0, 0, 0,
        25, 0, 0, 0, 5, 0, 0, 0, 0, 0, 1, 0, 9,
        0xFC, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_EQ(stream, expected);

    TAnimatedIcons read(pool, true);
    read.ReadIcons(stream);
    EXPECT_EQ(read.Title, "Busy");
    EXPECT_EQ(read.Author, "KRD");
    EXPECT_FALSE(read.Large());
    EXPECT_TRUE(read.SameFrames(icons));
}

TEST_F(AnimationTest, NegativeFrameSizeGivesAnEmptyIcon) {
    const std::vector<std::uint8_t> stream{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 10, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    icons.ReadIcons(stream);
    ASSERT_EQ(icons.Count(), 1);
    EXPECT_TRUE(icons.Item(0).Empty());
    EXPECT_EQ(icons.Item(0).Delay, 10);
    EXPECT_TRUE(icons.Large());
}

TEST_F(AnimationTest, DamagedStreamsAreRefusedAndLeaveTheListAsItWas) {
    icons.Title = "Kept";
    icons.Add(Frame(1));
    const std::vector<std::vector<std::uint8_t>> damaged{
        {},
        {5, 0, 0, 0, 'a'},                                            // title longer than the data
        {0xFF, 0xFF, 0xFF, 0xFF},                                     // negative title length
        {0, 0, 0, 0, 0, 0, 0, 0, 0},                                  // no frame count
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F},          // absurd frame count
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},          // negative frame count
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F},  // frame too long
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},               // second frame missing
    };
    for (const auto& s : damaged) {
        EXPECT_THROW(icons.ReadIcons(s), EIconsStreamError) << s.size();
        EXPECT_EQ(icons.Title, "Kept");
        EXPECT_EQ(icons.Count(), 1);
    }
}

TEST_F(AnimationTest, IconsAreStoredOnlyWhenTheyDifferFromTheAncestor) {
    EXPECT_FALSE(icons.ShouldStoreIcons(nullptr));
    icons.Add(Frame(1));
    EXPECT_TRUE(icons.ShouldStoreIcons(nullptr));
    TAnimatedIcons ancestor(pool);
    EXPECT_TRUE(icons.ShouldStoreIcons(&ancestor));
    ancestor.Assign(icons);
    EXPECT_FALSE(icons.ShouldStoreIcons(&ancestor));
}

}  // namespace
}  // namespace vimbrel
