#pragma once
// The clipboard-viewer chain as one of its members keeps it: the window after it, and where
// the chain's notices go on to.
#include <cstdint>

namespace vimbrel {

class ClipboardChain {
public:
    using Window = std::uintptr_t;

    // Joined: SetClipboardViewer answered with the window that comes next (0: none).
    void Joined(Window next) { next_ = next; }
    Window Next() const { return next_; }

    // A window leaves the chain, its successor takes its place. The window the notice goes
    // on to, 0 when it stops here (the leaving window was our next one, which is repaired).
    Window WindowLeaves(Window leaving, Window successor) {
        if (leaving == next_) {
            next_ = successor;
            return 0;
        }
        return next_;
    }

private:
    Window next_ = 0;
};

}  // namespace vimbrel
