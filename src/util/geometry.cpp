#include "util/geometry.h"

#include <cmath>
#include <string>

namespace vimbrel {

void geometry_detail::ThrowPixelOverflow() { throw EPixelOverflow("A pixel coordinate is out of range"); }

int RoundHalfEven(double value) {
    // Far beyond any int (or not a number) before the conversion, which would be undefined.
    if (!(std::fabs(value) < 0x1p62)) throw EPixelOverflow("A pixel length of " + std::to_string(value) + " is out of range");
    const double whole = std::floor(value);
    const double fraction = value - whole;
    const auto w = std::int64_t(whole);
    if (fraction > 0.5) return geometry_detail::Checked(w + 1);
    if (fraction < 0.5) return geometry_detail::Checked(w);
    return geometry_detail::Checked(w % 2 == 0 ? w : w + 1);
}

Size Scaled(Size size, double factor) {
    return Size{RoundHalfEven(size.width * factor), RoundHalfEven(size.height * factor)};
}

}  // namespace vimbrel
