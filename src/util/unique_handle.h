#pragma once
// One owner for every kind of handle: Traits says what "no handle" is and how one is
// released. Not copyable; a move hands the handle on, release() hands it out.
#include <utility>

namespace vimbrel {

template <class H, class Traits>
class UniqueHandleT {
public:
    UniqueHandleT() = default;
    explicit UniqueHandleT(H h) : h_(h) {}
    ~UniqueHandleT() { reset(); }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, Traits::Invalid());
        }
        return *this;
    }

    H get() const { return h_; }
    // Hands the handle over (to the clipboard, to a window), which then owns it.
    H release() { return std::exchange(h_, Traits::Invalid()); }
    H* put() {
        reset();
        return &h_;
    }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    void reset(H h = Traits::Invalid()) {
        H old = std::exchange(h_, h);
        if (old != Traits::Invalid() && old != h) Traits::Close(old);
    }

private:
    H h_ = Traits::Invalid();
};

}  // namespace vimbrel
