#pragma once
// A pool that hands a tick about every 5 ms to each enabled registered object, always on
// the user-interface thread. Its timing thread exists exactly while some item is enabled.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace vimbrel {

inline constexpr std::uint16_t WM_POOLTICK = 0x07F2;

// The tick as delivered to a registered object.
struct PoolTickMessage {
    std::uint16_t Msg = WM_POOLTICK;
    std::uint16_t Elapsed = 0;  // milliseconds since the period started, low 16 bits
    std::int32_t Count = 0;     // ticks delivered to this object so far, this one included
};
static_assert(sizeof(PoolTickMessage) == 8);

class TickReceiver {
public:
    virtual ~TickReceiver() = default;
    virtual void PoolTick(const PoolTickMessage& tick) = 0;
};

// Millisecond counter that wraps at 2^32 (timeGetTime on Windows).
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t NowMs() = 0;
};

// Runs a function on the user-interface thread and waits for it to finish. May be called
// from any thread; when the user-interface side is gone it returns without running it.
class Synchronizer {
public:
    virtual ~Synchronizer() = default;
    virtual void Synchronize(const std::function<void()>& work) = 0;
};

// Owner's handle on a running timing thread. Destroying it asks the thread to end without
// waiting for it (the thread may be blocked handing a tick to this very thread).
class TimingThreadHandle {
public:
    virtual ~TimingThreadHandle() = default;
};

// Starts a timing thread that calls tick(elapsed) on the user-interface thread once per
// interval for as long as the handle lives.
using TimingThreadFactory = std::function<std::unique_ptr<TimingThreadHandle>(
    int intervalMs, std::function<void(std::uint32_t elapsed)> tick)>;

// Busy-waits on the clock for each period, then hands the tick over synchronously.
class TTimingThread final : public TimingThreadHandle {
public:
    TTimingThread(std::shared_ptr<Clock> clock, std::shared_ptr<Synchronizer> sync, int intervalMs,
                  std::function<void(std::uint32_t)> tick);
    ~TTimingThread() override;
    TTimingThread(const TTimingThread&) = delete;
    TTimingThread& operator=(const TTimingThread&) = delete;

    // A factory for TTimerPool that starts TTimingThreads on this clock and synchronizer.
    static TimingThreadFactory Factory(std::shared_ptr<Clock> clock, std::shared_ptr<Synchronizer> sync);

private:
    std::shared_ptr<std::atomic<bool>> stop_;
};

struct TObjectTimeInfo {
    TickReceiver* Object = nullptr;  // not owned
    bool Enabled = false;
    std::int32_t Count = 0;
};

class TTimerPool {
public:
    static constexpr int kInterval = 5;

    explicit TTimerPool(TimingThreadFactory startThread) : startThread_(std::move(startThread)) {}
    ~TTimerPool() = default;
    TTimerPool(const TTimerPool&) = delete;
    TTimerPool& operator=(const TTimerPool&) = delete;

    void SetEnabled(TickReceiver* object, bool enabled);
    void Remove(TickReceiver* object);
    void UpdateThread();
    void DispatchTick(std::uint32_t elapsed);

    bool ThreadRunning() const { return thread_ != nullptr; }
    const std::vector<TObjectTimeInfo>& Items() const { return items_; }

private:
    TimingThreadFactory startThread_;
    std::vector<TObjectTimeInfo> items_;
    std::unique_ptr<TimingThreadHandle> thread_;
};

}  // namespace vimbrel
