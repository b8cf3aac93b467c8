#pragma once
// Work another thread hands to the user-interface thread, known by an id while its sender
// waits. A message names only the id, never the work: an id this table did not hand out,
// or one already run or withdrawn, runs nothing.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace vimbrel {

class PendingCalls {
public:
    // The work stays the caller's and must outlive its Withdraw.
    std::uintptr_t Add(const std::function<void()>& work);
    // Runs the work of a pending id, once; false for any other id.
    bool Run(std::uintptr_t id);
    // The sender is done with the id: waits for a run of it still under way, then forgets it.
    void Withdraw(std::uintptr_t id);

private:
    struct Entry {
        const std::function<void()>* work = nullptr;
        bool started = false, running = false;
    };
    std::mutex mutex_;
    std::condition_variable finished_;
    std::map<std::uintptr_t, Entry> entries_;
    std::uintptr_t lastId_ = 0;
};

}  // namespace vimbrel
