#include "desktop/timer_pool.h"

#include <algorithm>

namespace vimbrel {

TTimingThread::TTimingThread(std::shared_ptr<Clock> clock, std::shared_ptr<Synchronizer> sync, int intervalMs,
                             std::function<void(std::uint32_t)> tick)
    : stop_(std::make_shared<std::atomic<bool>>(false)) {
    const auto interval = static_cast<std::uint32_t>(intervalMs);
    std::thread([stop = stop_, clock = std::move(clock), sync = std::move(sync), interval,
                 tick = std::move(tick)] {
        while (!stop->load()) {
            const std::uint32_t start = clock->NowMs();
            // Unsigned difference, so the wrap of the counter does no harm.
            while (!stop->load() && clock->NowMs() - start < interval) {
            }
            if (stop->load()) break;
            // The flag is checked again on the user-interface thread: once the owner has let
            // go, the owner may be gone and nothing of it may be touched.
            sync->Synchronize([&] {
                if (!stop->load()) tick(clock->NowMs() - start);
            });
        }
    }).detach();
}

TTimingThread::~TTimingThread() { stop_->store(true); }

TimingThreadFactory TTimingThread::Factory(std::shared_ptr<Clock> clock, std::shared_ptr<Synchronizer> sync) {
    return [clock, sync](int intervalMs, std::function<void(std::uint32_t)> tick) {
        return std::make_unique<TTimingThread>(clock, sync, intervalMs, std::move(tick));
    };
}

void TTimerPool::SetEnabled(TickReceiver* object, bool enabled) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const TObjectTimeInfo& i) { return i.Object == object; });
    if (it == items_.end()) it = items_.insert(items_.end(), TObjectTimeInfo{object, false, 0});
    it->Enabled = enabled;
    UpdateThread();
}

void TTimerPool::Remove(TickReceiver* object) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const TObjectTimeInfo& i) { return i.Object == object; });
    if (it != items_.end()) items_.erase(it);
    UpdateThread();
}

void TTimerPool::UpdateThread() {
    const bool anyEnabled = std::any_of(items_.begin(), items_.end(), [](const TObjectTimeInfo& i) { return i.Enabled; });
    if (anyEnabled && !thread_)
        thread_ = startThread_(kInterval, [this](std::uint32_t elapsed) { DispatchTick(elapsed); });
    else if (!anyEnabled && thread_)
        thread_.reset();
}

void TTimerPool::DispatchTick(std::uint32_t elapsed) {
    // A receiver may disable or remove items (its own or others) while it handles its tick,
    // so the list is re-checked on every step rather than walked by a count taken once.
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i].Enabled) continue;
        const PoolTickMessage tick{WM_POOLTICK, static_cast<std::uint16_t>(elapsed), ++items_[i].Count};
        items_[i].Object->PoolTick(tick);
    }
}

}  // namespace vimbrel
