// Feeds arbitrary bytes to the "Icons" stream reader of a playing list. A stream either
// loads or is refused with EIconsStreamError and leaves the list as it was; one that loads
// writes back to a stream that loads to the same list.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "desktop/animated_icons.h"
#include "desktop/timer_pool.h"

using namespace vimbrel;

namespace {

// No thread: the target never lets the pool tick.
struct NoThread : TimingThreadHandle {};

TimingThreadFactory NoThreads() {
    return [](int, std::function<void(std::uint32_t)>) { return std::make_unique<NoThread>(); };
}

bool SameList(const TAnimatedIcons& a, const TAnimatedIcons& b) {
    return a.Title == b.Title && a.Author == b.Author && a.Large() == b.Large() && a.SameFrames(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TTimerPool pool(NoThreads());
    TAnimatedIcons before(pool, true);
    before.Title = "Before";
    before.Author = "Fuzz";
    before.Add(TAnimatedIcon{7, {0, 0, 1, 0}});
    before.AddNew().Delay = -3;

    TAnimatedIcons icons(pool);
    icons.Assign(before);
    icons.OnNewFrame = [](TAnimatedIcons&, int) {};
    icons.Play(0);
    if (!icons.Playing()) __builtin_trap();

    const std::vector<std::uint8_t> stream(data, data + size);
    try {
        icons.ReadIcons(stream);
    } catch (const EIconsStreamError&) {
        if (!SameList(icons, before) || !icons.Playing()) __builtin_trap();
        return 0;
    }
    // Loading nothing ends the play; loading frames keeps it going.
    if (icons.Playing() != (icons.Count() > 0)) __builtin_trap();

    TAnimatedIcons again(pool);
    again.ReadIcons(icons.WriteIcons());
    if (!SameList(again, icons) || again.WriteIcons() != icons.WriteIcons()) __builtin_trap();
    return 0;
}
