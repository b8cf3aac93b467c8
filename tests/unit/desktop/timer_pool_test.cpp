#include "desktop/timer_pool.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "fake_timing.h"

namespace vimbrel {
namespace {

using testing::FakeTimingThreads;

struct Recorder : TickReceiver {
    void PoolTick(const PoolTickMessage& t) override {
        ticks.push_back(t);
        if (onTick) onTick();
    }
    std::vector<PoolTickMessage> ticks;
    std::function<void()> onTick;
};

TEST(TimerPool, ThreadExistsExactlyWhileSomeItemIsEnabled) {
    FakeTimingThreads threads;
    TTimerPool pool(threads.Factory());
    Recorder a, b;
    pool.SetEnabled(&a, false);
    EXPECT_FALSE(threads.Running());
    pool.SetEnabled(&a, true);
    EXPECT_EQ(threads.Live(), 1);
    EXPECT_EQ(threads.interval, 5);
    pool.SetEnabled(&b, true);
    EXPECT_EQ(threads.started, 1);
    pool.SetEnabled(&a, false);
    EXPECT_TRUE(threads.Running());
    pool.Remove(&b);
    EXPECT_FALSE(threads.Running());
    EXPECT_TRUE(pool.ThreadRunning() == threads.Running());
    pool.SetEnabled(&a, true);
    EXPECT_EQ(threads.started, 2);
    pool.Remove(&a);
    pool.Remove(&a);  // not registered any more: nothing happens
    EXPECT_FALSE(threads.Running());
    EXPECT_TRUE(pool.Items().empty());
}

TEST(TimerPool, DestroyingThePoolEndsItsThread) {
    FakeTimingThreads threads;
    Recorder a;
    std::make_unique<TTimerPool>(threads.Factory())->SetEnabled(&a, true);
    EXPECT_EQ(threads.started, 1);
    EXPECT_FALSE(threads.Running());
}

TEST(TimerPool, TickReachesEnabledItemsWithTheirOwnCount) {
    FakeTimingThreads threads;
    TTimerPool pool(threads.Factory());
    Recorder a, b, c;
    pool.SetEnabled(&a, true);
    pool.SetEnabled(&b, false);
    pool.SetEnabled(&c, true);
    pool.DispatchTick(7);
    pool.DispatchTick(0x12345);  // elapsed is carried in 16 bits
    pool.SetEnabled(&b, true);
    pool.DispatchTick(5);
    ASSERT_EQ(a.ticks.size(), 3u);
    EXPECT_EQ(a.ticks[0].Msg, 0x07F2);
    EXPECT_EQ(a.ticks[0].Elapsed, 7);
    EXPECT_EQ(a.ticks[1].Elapsed, 0x2345);
    EXPECT_EQ(a.ticks[2].Count, 3);
    ASSERT_EQ(b.ticks.size(), 1u);
    EXPECT_EQ(b.ticks[0].Count, 1);
    EXPECT_EQ(c.ticks.size(), 3u);
}

TEST(TimerPool, ReceiverMayRemoveItemsWhileTicking) {
    FakeTimingThreads threads;
    TTimerPool pool(threads.Factory());
    Recorder a, b, c;
    pool.SetEnabled(&a, true);
    pool.SetEnabled(&b, true);
    pool.SetEnabled(&c, true);
    a.onTick = [&] {
        pool.Remove(&a);
        pool.Remove(&c);
    };
    pool.DispatchTick(5);
    EXPECT_EQ(a.ticks.size(), 1u);
    EXPECT_EQ(c.ticks.size(), 0u);
    ASSERT_EQ(pool.Items().size(), 1u);
    EXPECT_EQ(pool.Items()[0].Object, &b);
    b.onTick = [&] { pool.SetEnabled(&b, false); };
    pool.DispatchTick(5);
    EXPECT_FALSE(threads.Running());
}

// A clock that moves on by 1 ms on every reading, starting just before the counter wraps.
struct SteppingClock : Clock {
    std::uint32_t NowMs() override { return now.fetch_add(1); }
    std::atomic<std::uint32_t> now{0xFFFFFFF0u};
};

// Plays the user-interface thread: the timing thread blocks in Synchronize until the test
// runs the work it handed over.
struct QueuedSynchronizer : Synchronizer {
    void Synchronize(const std::function<void()>& work) override {
        std::unique_lock lock(m);
        if (closed) return;
        pending = &work;
        cv.notify_all();
        cv.wait(lock, [&] { return pending == nullptr || closed; });
    }
    // Runs the next handed-over work; false when none came in time.
    bool RunOne(std::chrono::milliseconds wait = std::chrono::seconds(2)) {
        std::unique_lock lock(m);
        if (!cv.wait_for(lock, wait, [&] { return pending != nullptr; })) return false;
        (*pending)();
        pending = nullptr;
        cv.notify_all();
        return true;
    }
    void Close() {
        std::lock_guard lock(m);
        closed = true;
        cv.notify_all();
    }
    std::mutex m;
    std::condition_variable cv;
    const std::function<void()>* pending = nullptr;
    bool closed = false;
};

TEST(TimingThread, TicksAfterEachIntervalAcrossTheClockWrapAndStopsWhenLetGo) {
    auto clock = std::make_shared<SteppingClock>();
    auto sync = std::make_shared<QueuedSynchronizer>();
    std::vector<std::uint32_t> elapsed;
    auto thread = std::make_unique<TTimingThread>(clock, sync, 5, [&](std::uint32_t e) { elapsed.push_back(e); });
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(sync->RunOne());
    ASSERT_EQ(elapsed.size(), 10u);
    for (std::uint32_t e : elapsed) {
        EXPECT_GE(e, 5u);
        EXPECT_LT(e, 100u);  // the wrap of the counter does not show as a huge period
    }
    thread.reset();
    // Work handed over after the owner let go does not reach the tick any more.
    sync->RunOne(std::chrono::milliseconds(50));
    EXPECT_EQ(elapsed.size(), 10u);
    sync->Close();
}

TEST(TimingThread, PoolWithRealThreadDeliversToItsItems) {
    auto clock = std::make_shared<SteppingClock>();
    auto sync = std::make_shared<QueuedSynchronizer>();
    Recorder a;
    {
        TTimerPool pool(TTimingThread::Factory(clock, sync));
        pool.SetEnabled(&a, true);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(sync->RunOne());
        pool.SetEnabled(&a, false);
        EXPECT_FALSE(pool.ThreadRunning());
        sync->RunOne(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(a.ticks.size(), 3u);
    EXPECT_EQ(a.ticks.back().Count, 3);
    sync->Close();
}

}  // namespace
}  // namespace vimbrel
