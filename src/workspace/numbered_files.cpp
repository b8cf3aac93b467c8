#include "workspace/numbered_files.h"

#include <limits>

#include "util/text.h"
#include "workspace/path_parts.h"
#include "util/file_system_port.h"
#include "workspace/image_file.h"

namespace vimbrel {
namespace {

// Every five-digit text once, so a full series is noticed instead of looping for ever.
constexpr int kSeriesLength = 100000;

}  // namespace

std::string NumberText(std::int64_t n) {
    const std::string text = "00000" + std::to_string(n);
    return text.substr(text.size() - 5);
}

std::string AutoSaveName(const std::string& autoSavePath, const std::string& autoPrefix, std::int64_t number,
                         const std::string& autoExt) {
    return AddBackslash(autoSavePath) + autoPrefix + "-" + NumberText(number) + autoExt;
}

std::string ClaimAutoSaveName(AutoSaveSettings& settings, const FileQueries& files, const StoreNextSaveNo& store) {
    std::int64_t n = settings.nextSaveNo;
    for (int tries = 0; tries < kSeriesLength; ++tries, ++n) {
        // The number after this one must still be a stored number.
        if (n >= kLargestNextSaveNo)
            throw EInOutError("The next save number " + std::to_string(n) +
                              " is too large.\r\nChoose a smaller \"Next Save Seq. #\" in Option Settings.");
        std::string name = AutoSaveName(settings.autoSavePath, settings.autoPrefix, n, settings.autoExt);
        if (files.FileExists(name)) continue;
        settings.nextSaveNo = n + 1;
        store(settings.nextSaveNo);
        return name;
    }
    throw EInOutError("Every numbered name " + AutoSaveName(settings.autoSavePath, settings.autoPrefix, 0,
                                                                settings.autoExt) +
                          " to 99999 is taken");
}

std::string AutoSaveImage(const Bitmap& fullSize, AutoSaveSettings& settings, const FileQueries& files,
                          const StoreNextSaveNo& store) {
    std::string name = ClaimAutoSaveName(settings, files, store);
    WriteImageFile(fullSize, name);
    return name;
}

std::optional<std::string> NumberedNeighbour(const std::string& lastOpenedFile, const std::string& openPath,
                                             bool forward) {
    const std::string name = ExtractFileName(lastOpenedFile);
    const std::string ext = ExtractFileExt(name);
    const std::string base = name.substr(0, name.size() - ext.size());
    const std::size_t firstDash = base.find('-');
    if (firstDash == std::string::npos || firstDash == 0) return std::nullopt;
    const std::string prefix = base.substr(0, firstDash);
    const std::size_t secondDash = base.find('-', firstDash + 1);
    const std::string digits = base.substr(
        firstDash + 1, secondDash == std::string::npos ? std::string::npos : secondDash - firstDash - 1);
    if (!IsDigits(digits)) return std::nullopt;
    const std::int64_t n = LeadingInt(digits);
    // The digits hold no sign, so only the step past the largest number can overflow; that
    // file cannot exist, so there is no neighbour.
    if (forward && n == std::numeric_limits<std::int64_t>::max()) return std::nullopt;
    return AddBackslash(openPath) + prefix + "-" + NumberText(forward ? n + 1 : n - 1) + ext;
}

std::optional<std::string> StepNumberedFile(const std::string& lastOpenedFile, const std::string& openPath,
                                            bool forward, const FileQueries& files) {
    if (lastOpenedFile.empty()) return std::nullopt;
    std::optional<std::string> candidate = NumberedNeighbour(lastOpenedFile, openPath, forward);
    if (!candidate || !files.FileExists(*candidate)) return std::nullopt;
    return candidate;
}

}  // namespace vimbrel
