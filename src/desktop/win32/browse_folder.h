#pragma once
// The system's folder picker, limited to file-system folders. Made for one use.
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace vimbrel::win32 {

class TBrowseForFolderDialog {
public:
    TBrowseForFolderDialog() = default;
    TBrowseForFolderDialog(const TBrowseForFolderDialog&) = delete;
    TBrowseForFolderDialog& operator=(const TBrowseForFolderDialog&) = delete;

    // The line shown above the folder tree.
    void SetPrompt(const std::string& text) { prompt_ = text; }
    // Shows the dialog modally, owned by the active window; true when a folder was chosen.
    bool Execute();
    // The chosen folder after a successful Execute.
    std::string FolderPath() const { return path_; }

private:
    std::string prompt_;
    std::string path_;
    char displayName_[MAX_PATH] = {};
};

}  // namespace vimbrel::win32
