#pragma once
// Handing the picture to the external image editor.
#include <optional>
#include <string>

#include "workspace/bitmap.h"

namespace vimbrel {

class FileQueries;

// What the caller starts with ShellExecute ("Open", program, parameters, "", SW_SHOWNORMAL).
struct EditorLaunch {
    std::string program;
    std::string parameters;  // the temporary file, quoted so blanks in the folder survive
    std::string tempFile;
};

// Writes the shown picture as a bitmap to the editor's temporary file in tempFolder
// (replacing an earlier one) and says what to start; nullopt, with nothing written, when
// imageEditor does not name an existing file. The file is never read back.
std::optional<EditorLaunch> SendToEditor(const Bitmap& shown, const std::string& imageEditor,
                                         const std::string& tempFolder, const FileQueries& files);

}  // namespace vimbrel
