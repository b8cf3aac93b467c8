#pragma once
// What the image-writing tools share: the median time of repeated writes, and whether a
// picture read back holds the colours written.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "workspace/bitmap.h"

namespace vimbrel::bench {

inline double MedianMs(int runs, const std::function<void()>& write) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        write();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The same size and colours at any depth (an opaque capture reads back at 24 bits).
inline bool SameColours(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(a.PixelColour(x, y) == b.PixelColour(x, y))) return false;
    return true;
}

}  // namespace vimbrel::bench
