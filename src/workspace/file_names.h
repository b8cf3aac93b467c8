#pragma once
// Name rules of the image file commands: the overwrite question of a save and the
// temporary files. Which kind a name is, and the dialogs' filters, are file_kinds.h.
#include <string>

namespace vimbrel {

class FileQueries;

std::string OverwriteQuestion(const std::string& name);

struct SaveNameDecision {
    std::string name;
    bool askOverwrite = false;  // the file exists: ask OverwriteQuestion(name), write only on Yes
};
SaveNameDecision DecideSaveName(const std::string& chosen, int filterIndex, const FileQueries& files);

// Temporary files: name and the folder each lives in. The editor's takes the extension of
// the kind it is handed.
inline constexpr const char* kGreysTempName = "~~tmp.jpg";   // in DataFolder, removed after reading
inline constexpr const char* kEditorTempStem = "~~vrl";      // in the temporary folder, overwritten
inline constexpr const char* kEmailTempName = "~email.jpg";  // in WorkFolder
std::string GreysTempPath(const std::string& dataFolder);
std::string EditorTempPath(const std::string& tempFolder);
std::string EmailTempPath(const std::string& workFolder);

}  // namespace vimbrel
