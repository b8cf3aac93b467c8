#include "workspace/send_to_editor.h"

#include "workspace/file_names.h"
#include "util/file_system_port.h"
#include "workspace/image_file.h"

namespace vimbrel {

std::optional<EditorLaunch> SendToEditor(const Bitmap& shown, const std::string& imageEditor,
                                         const std::string& tempFolder, const FileQueries& files) {
    if (imageEditor.empty() || !files.FileExists(imageEditor)) return std::nullopt;
    EditorLaunch launch;
    launch.program = imageEditor;
    launch.tempFile = EditorTempPath(tempFolder);
    launch.parameters = "\"" + launch.tempFile + "\"";
    // The name says the kind the editor is handed.
    WriteImageFile(shown, launch.tempFile);
    return launch;
}

}  // namespace vimbrel
