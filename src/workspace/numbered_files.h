#pragma once
// Numbered file names: automatic saves ("Vimbrel-00012.bmp") and stepping through such a
// series with Ctrl+Page Up / Ctrl+Page Down.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "workspace/bitmap.h"

namespace vimbrel {

class FileQueries;

// The last five characters of "00000" followed by n in decimal (7 gives "00007",
// 123456 gives "23456").
std::string NumberText(std::int64_t n);
// AutoSavePath (with a "\" added unless empty) + prefix + "-" + NumberText + extension.
std::string AutoSaveName(const std::string& autoSavePath, const std::string& autoPrefix, std::int64_t number,
                         const std::string& autoExt);

struct AutoSaveSettings {
    std::string autoSavePath;
    std::string autoPrefix = "Vimbrel";
    std::string autoExt = ".bmp";
    std::int64_t nextSaveNo = 1;
};

// "NextSaveNo" is a 32-bit number: a save never stores one past it.
inline constexpr std::int64_t kLargestNextSaveNo = 2147483647;

// Writes the new "NextSaveNo" to the settings store at once.
using StoreNextSaveNo = std::function<void(std::int64_t)>;

// Takes the name for settings.nextSaveNo. A name whose file already exists is skipped (an
// earlier capture is never replaced, even after the counter was lowered or wrapped past
// 99999), so the number advances until a free name turns up. nextSaveNo ends one past the
// number used and is handed to store before this returns, so before any file is written.
// Throws EInOutError when every numbered name of the series is taken, or the number would
// pass kLargestNextSaveNo; nothing is stored then.
std::string ClaimAutoSaveName(AutoSaveSettings& settings, const FileQueries& files, const StoreNextSaveNo& store);

// ClaimAutoSaveName, then WriteImageFile of the full-size picture; returns the name
// written. The folder is not created.
std::string AutoSaveImage(const Bitmap& fullSize, AutoSaveSettings& settings, const FileQueries& files,
                          const StoreNextSaveNo& store);

// The neighbour of a numbered file in OpenPath ("Shot-00012.bmp" -> "Shot-00013.bmp"), or
// nullopt when the name is not "prefix-digits[-...].ext" (the caller then runs Open).
std::optional<std::string> NumberedNeighbour(const std::string& lastOpenedFile, const std::string& openPath,
                                             bool forward);
// The file to load for the step, or nullopt when Open should run instead (no file opened
// yet, not a numbered name, or the neighbour does not exist).
std::optional<std::string> StepNumberedFile(const std::string& lastOpenedFile, const std::string& openPath,
                                            bool forward, const FileQueries& files);

}  // namespace vimbrel
