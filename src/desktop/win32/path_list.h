#pragma once
// The special folders of this machine, asked of the shell.
#include <windows.h>

#include "util/win32/handles.h"

#include "desktop/path_list.h"

namespace vimbrel::win32 {

// Asks SHFolder.dll's SHGetFolderPathA, and the shell for the display names of folders
// without a path. owner is the window the shell may use for its messages.
class ShellFolderSource : public FolderSource {
public:
    explicit ShellFolderSource(HWND owner = nullptr);
    ~ShellFolderSource() override;
    ShellFolderSource(const ShellFolderSource&) = delete;
    ShellFolderSource& operator=(const ShellFolderSource&) = delete;

    bool CanQueryFolders() override;
    std::string FolderPath(int folderNumber) override;
    std::optional<std::string> DisplayName(int folderNumber) override;
    std::string TempFolder() override;
    std::string CurrentFolder() override;

private:
    using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    HWND owner_;
    UniqueModule library_;
    GetFolderPathFn getFolderPath_ = nullptr;
};

// The process's folder table, asked of the shell as it is read.
LazyFolderTable& SharedFolderTable();

// Letter case by the system's locale (CharUpperBuffA, CharLowerBuffA).
CaseMap AnsiCaseMap();

}  // namespace vimbrel::win32
