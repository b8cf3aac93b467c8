#pragma once
// What the side-by-side timings share: a steady clock, milliseconds since a start, and the
// order statistics they report.
#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// The value below which the share p (0 to 1) of the samples lie; 0.5 is the median.
inline double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(double(v.size()) * p))];
}

inline double Median(std::vector<double> v) { return Percentile(std::move(v), 0.5); }

}  // namespace bench
