#include "desktop/pending_calls.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace vimbrel {
namespace {

TEST(PendingCalls, OnlyAnIdHandedOutAndStillPendingRunsAndOnlyOnce) {
    PendingCalls calls;
    int runs = 0;
    const std::function<void()> work = [&] { ++runs; };
    const std::uintptr_t id = calls.Add(work);
    EXPECT_FALSE(calls.Run(0));
    EXPECT_FALSE(calls.Run(id + 1));
    EXPECT_FALSE(calls.Run(std::uintptr_t(0xDEADBEEF)));
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(calls.Run(id));
    EXPECT_FALSE(calls.Run(id)) << "a second message with the same id";
    EXPECT_EQ(runs, 1);
    calls.Withdraw(id);
    EXPECT_FALSE(calls.Run(id));

    const std::uintptr_t next = calls.Add(work);
    EXPECT_NE(next, id);
    calls.Withdraw(next);
    EXPECT_FALSE(calls.Run(next)) << "withdrawn before it ran";
    EXPECT_EQ(runs, 1);
}

TEST(PendingCalls, WithdrawWaitsForARunUnderWayAndAFailingRunStillFinishes) {
    PendingCalls calls;
    std::promise<void> entered, release;
    std::shared_future<void> released = release.get_future().share();
    const std::function<void()> work = [&] {
        entered.set_value();
        released.wait();
    };
    const std::uintptr_t id = calls.Add(work);
    std::thread runner([&] { calls.Run(id); });
    entered.get_future().wait();
    std::atomic<bool> withdrawn{false};
    std::thread sender([&] {
        calls.Withdraw(id);
        withdrawn = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(withdrawn) << "the work still runs on the sender's stack";
    release.set_value();
    runner.join();
    sender.join();
    EXPECT_TRUE(withdrawn);

    const std::function<void()> failing = [] { throw std::runtime_error("tick failed"); };
    const std::uintptr_t failed = calls.Add(failing);
    EXPECT_THROW(calls.Run(failed), std::runtime_error);
    calls.Withdraw(failed);  // returns: the failed run counts as finished
}

}  // namespace
}  // namespace vimbrel
