#pragma once
// Runs a restore however the scope ends, for the odd undo that has no owning type of its
// own (a file closed again after loading, the controls pushed after an event). The restore
// must not throw: it runs from a destructor.
#include <utility>

namespace vimbrel {

template <class F>
class ScopeExit {
public:
    explicit ScopeExit(F onExit) : onExit_(std::move(onExit)) {}
    ~ScopeExit() { onExit_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F onExit_;
};

}  // namespace vimbrel
