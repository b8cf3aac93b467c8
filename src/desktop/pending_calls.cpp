#include "desktop/pending_calls.h"

namespace vimbrel {

std::uintptr_t PendingCalls::Add(const std::function<void()>& work) {
    std::lock_guard lock(mutex_);
    // 0 stays unused, so a message with no id never matches.
    if (++lastId_ == 0) ++lastId_;
    entries_[lastId_] = Entry{&work};
    return lastId_;
}

bool PendingCalls::Run(std::uintptr_t id) {
    const std::function<void()>* work = nullptr;
    {
        std::lock_guard lock(mutex_);
        auto it = entries_.find(id);
        if (it == entries_.end() || it->second.started) return false;
        it->second.started = it->second.running = true;
        work = it->second.work;
    }
    // Finished however the work ends, so its sender is never left waiting.
    struct Finish {
        PendingCalls& calls;
        std::uintptr_t id;
        ~Finish() {
            std::lock_guard lock(calls.mutex_);
            calls.entries_[id].running = false;
            calls.finished_.notify_all();
        }
    } finish{*this, id};
    (*work)();
    return true;
}

void PendingCalls::Withdraw(std::uintptr_t id) {
    std::unique_lock lock(mutex_);
    auto it = entries_.find(id);
    if (it == entries_.end()) return;
    finished_.wait(lock, [&] { return !it->second.running; });
    entries_.erase(it);
}

}  // namespace vimbrel
