#include "app/logger_record.h"

#include <algorithm>

namespace vimbrel {

namespace {
void PutInt32(LogRecord& r, std::size_t at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        r[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}
}  // namespace

LogRecord BuildLogRecord(std::int32_t level, std::string_view text) {
    LogRecord r{};
    PutInt32(r, 0, kLogRecordKind);
    PutInt32(r, 4, level);
    const std::size_t n = std::min(text.size(), kLogTextCapacity);
    r[8] = static_cast<std::uint8_t>(n);
    std::copy_n(text.begin(), n, r.begin() + 9);
    return r;
}

}  // namespace vimbrel
