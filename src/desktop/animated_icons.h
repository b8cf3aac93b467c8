#pragma once
// Icon frames with their own delays that play themselves on the timer pool's ticks, and
// the "Icons" stream in which a list of frames is stored.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "desktop/timer_pool.h"

namespace vimbrel {

// One frame: an icon in the icon-file format (empty for an empty icon) and the time, in
// hundredths of a second, before it is announced.
struct TAnimatedIcon {
    std::int32_t Delay = 0;
    std::vector<std::uint8_t> Data;

    bool Empty() const { return Data.empty(); }
    bool operator==(const TAnimatedIcon&) const = default;
};

class EIconsStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TAnimatedIcons final : private TickReceiver {
public:
    using TNewFrameEvent = std::function<void(TAnimatedIcons& sender, int frame)>;
    using TNotifyEvent = std::function<void(TAnimatedIcons& sender)>;

    // Registers itself with the pool, disabled, and removes itself when destroyed.
    explicit TAnimatedIcons(TTimerPool& pool, bool large = false);
    ~TAnimatedIcons() override;
    TAnimatedIcons(const TAnimatedIcons&) = delete;
    TAnimatedIcons& operator=(const TAnimatedIcons&) = delete;

    std::string Title;
    std::string Author;
    TNewFrameEvent OnNewFrame;
    TNotifyEvent OnStopped;

    bool Playing() const { return playing_; }
    bool Large() const { return large_; }

    // Does nothing without an OnNewFrame handler or without frames. repeatLimit 0 plays
    // without end.
    void Play(int repeatLimit);
    void Stop();

    int Count() const { return static_cast<int>(frames_.size()); }
    const TAnimatedIcon& Item(int index) const { return frames_.at(static_cast<std::size_t>(index)); }
    TAnimatedIcon& Item(int index) { return frames_.at(static_cast<std::size_t>(index)); }
    int Add(const TAnimatedIcon& icon);  // a copy at the end; returns its index
    TAnimatedIcon& AddNew();             // a new empty frame at the end
    void Insert(int index, const TAnimatedIcon& icon);
    void Delete(int index);
    void Clear();
    // Same frames in the same order.
    bool SameFrames(const TAnimatedIcons& other) const { return frames_ == other.frames_; }
    // Copies Title, Author, Large and all frames; the playing state stays as it is.
    void Assign(const TAnimatedIcons& source);

    std::vector<std::uint8_t> WriteIcons() const;
    // Replaces Title, Author, Large and the frames. Throws EIconsStreamError on a damaged
    // stream and then leaves the list unchanged.
    void ReadIcons(const std::vector<std::uint8_t>& stream);
    // The stream is stored only when it says something: when it differs from the ancestor's,
    // or without an ancestor when there are frames.
    bool ShouldStoreIcons(const TAnimatedIcons* ancestor) const;

    // The last play ended because it completed its run limit.
    bool ReachedRunLimit() const { return runLimit_ > 0 && runs_ >= runLimit_; }

private:
    void PoolTick(const PoolTickMessage& tick) override;

    TTimerPool& pool_;
    std::vector<TAnimatedIcon> frames_;
    bool large_;
    bool playing_ = false;
    int current_ = 0;
    std::uint32_t gathered_ = 0;
    int runs_ = 0;
    int runLimit_ = 0;
};

}  // namespace vimbrel
