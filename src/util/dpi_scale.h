#pragma once
// Windows are designed at 96 dots per inch; on a denser screen every length grows with it.

namespace vimbrel {

inline constexpr int kDesignDpi = 96;

// A length designed at 96 dpi, in pixels at `dpi`, rounded to the nearest pixel (halves
// away from zero).
constexpr int ScaleToDpi(int designPixels, int dpi) {
    const long long v = static_cast<long long>(designPixels) * dpi;
    const long long half = kDesignDpi / 2;
    return static_cast<int>(v >= 0 ? (v + half) / kDesignDpi : -((-v + half) / kDesignDpi));
}

}  // namespace vimbrel
