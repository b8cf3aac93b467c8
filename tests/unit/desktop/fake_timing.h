#pragma once
// A stand-in for the timing thread: the test plays the clock and delivers the ticks itself.
#include <cstdint>
#include <functional>
#include <memory>

#include "desktop/timer_pool.h"

namespace vimbrel::testing {

class FakeTimingThreads {
public:
    TimingThreadFactory Factory() {
        return [this](int intervalMs, std::function<void(std::uint32_t)> tick) {
            ++started;
            interval = intervalMs;
            tick_ = std::move(tick);
            return std::make_unique<Handle>(*this);
        };
    }
    bool Running() const { return live_ > 0; }
    int Live() const { return live_; }

    // Advances the clock by ms in ticks of the pool's interval, as long as a thread runs.
    void Run(std::uint32_t ms, std::uint32_t step = TTimerPool::kInterval) {
        for (std::uint32_t t = 0; t < ms && Running(); t += step) {
            now += step;
            auto tick = tick_;  // the tick may end the thread and with it tick_
            tick(step);
        }
    }

    int started = 0;
    int interval = 0;
    std::uint32_t now = 0;

private:
    struct Handle : TimingThreadHandle {
        explicit Handle(FakeTimingThreads& o) : owner(o) { ++owner.live_; }
        ~Handle() override {
            --owner.live_;
            owner.tick_ = nullptr;
        }
        FakeTimingThreads& owner;
    };
    int live_ = 0;
    std::function<void(std::uint32_t)> tick_;
};

}  // namespace vimbrel::testing
