#pragma once
// The picture size a bitmap header declares, for the fuzz targets of the bitmap readers:
// large pictures are legal, and a run-length bitmap declares one in a few bytes, but they
// would only measure the machine's memory and slow every run down.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace fuzz {

inline constexpr std::int64_t kMaxFuzzPixels = std::int64_t(1) << 20;

inline std::int64_t Field(const std::uint8_t* data, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint32_t(data[at + i]) << (8 * i);
    return bytes == 2 ? std::int64_t(v) : std::int64_t(std::int32_t(v));
}

// Width times height as the header at infoStart declares them (OS/2 or later header).
inline std::int64_t DeclaredPixels(const std::uint8_t* data, std::size_t size, std::size_t infoStart) {
    if (size < infoStart + 12) return 0;
    if (Field(data, infoStart, 4) == 12) return Field(data, infoStart + 4, 2) * Field(data, infoStart + 6, 2);
    return std::llabs(Field(data, infoStart + 4, 4) * Field(data, infoStart + 8, 4));
}

}  // namespace fuzz
