#include "print/win32/text_job.h"

namespace vimbrel::win32 {

WinTextJob::WinTextJob(const std::string& printerName, const std::vector<char>& deviceMode, std::string title)
    : job_(printerName, deviceMode), title_(std::move(title)) {}

Size WinTextJob::Extent(std::string_view text) {
    if (text.empty()) return {};
    const SIZE size = job_.Extent(text);
    return {size.cx, size.cy};
}

std::size_t WinTextJob::PreviousCharStart(std::string_view text, std::size_t end) {
    if (end == 0) return 0;
    // CharPrevA knows the code page's lead bytes; it never goes before the start.
    const char* start = text.data();
    return std::size_t(::CharPrevA(start, start + end) - start);
}

void WinTextJob::BeginDoc(const TextFont& font) {
    job_.SetFont(font);
    metrics_ = job_.Metrics();
    job_.BeginDoc(title_);
}

}  // namespace vimbrel::win32
