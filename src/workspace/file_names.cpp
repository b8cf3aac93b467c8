#include "workspace/file_names.h"

#include "util/file_system_port.h"
#include "util/text.h"
#include "workspace/file_kinds.h"

namespace vimbrel {

std::string OverwriteQuestion(const std::string& name) { return "File " + name + " exists.\r" + " Overwrite ?"; }

SaveNameDecision DecideSaveName(const std::string& chosen, int filterIndex, const FileQueries& files) {
    SaveNameDecision d;
    d.name = ApplySaveExtension(chosen, filterIndex);
    d.askOverwrite = files.FileExists(d.name);
    return d;
}

std::string GreysTempPath(const std::string& dataFolder) { return AddBackslash(dataFolder) + kGreysTempName; }
std::string EditorTempPath(const std::string& tempFolder) {
    return AddBackslash(tempFolder) + kEditorTempStem + std::string(EditorHandOverExt());
}
std::string EmailTempPath(const std::string& workFolder) { return AddBackslash(workFolder) + kEmailTempName; }

}  // namespace vimbrel
