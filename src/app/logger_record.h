#pragma once
// The record a diagnostic line travels in to the log viewer: 264 bytes, little-endian,
// no padding: kind (int32, always 1), level (int32), text length (byte), 255 text bytes.
#include <array>
#include <cstdint>
#include <string_view>

namespace vimbrel {

inline constexpr std::size_t kLogRecordSize = 264;
inline constexpr std::size_t kLogTextCapacity = 255;
inline constexpr std::int32_t kLogRecordKind = 1;
// The level a record carries: 0 for the program's ordinary lines, 1 for debug lines (the
// capture's step trace), which a viewer may hide.
inline constexpr std::int32_t kLogLevelNormal = 0;
inline constexpr std::int32_t kLogLevelDebug = 1;

using LogRecord = std::array<std::uint8_t, kLogRecordSize>;

// The line is cut to its first 255 bytes; the unused text bytes are zero.
LogRecord BuildLogRecord(std::int32_t level, std::string_view text);

}  // namespace vimbrel
