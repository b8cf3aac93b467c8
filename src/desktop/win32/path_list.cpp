#include "desktop/win32/path_list.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "util/win32/com_handles.h"
#include "util/win32/handles.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {

ShellFolderSource::ShellFolderSource(HWND owner) : owner_(owner) {
    library_.reset(::LoadLibraryA("SHFolder.dll"));
    if (library_)
        getFolderPath_ = reinterpret_cast<GetFolderPathFn>(
            reinterpret_cast<void (*)()>(::GetProcAddress(library_.get(), "SHGetFolderPathA")));
}

ShellFolderSource::~ShellFolderSource() = default;

bool ShellFolderSource::CanQueryFolders() { return getFolderPath_ != nullptr; }

std::string ShellFolderSource::FolderPath(int folderNumber) {
    if (!getFolderPath_)
        return {};
    char buffer[MAX_PATH + 1] = {};
    // S_FALSE (a folder that is known but not made yet) still fills in the path.
    if (FAILED(getFolderPath_(owner_, folderNumber, nullptr, 0, buffer)))
        return {};
    return buffer;
}

std::optional<std::string> ShellFolderSource::DisplayName(int folderNumber) {
    CoTaskMemPtr<ITEMIDLIST> item;
    if (FAILED(::SHGetSpecialFolderLocation(owner_, folderNumber, item.put())) || !item)
        return std::nullopt;
    SHFILEINFOA info = {};
    if (!::SHGetFileInfoA(reinterpret_cast<LPCSTR>(item.get()), 0, &info, sizeof(info),
                          SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return std::nullopt;
    return std::string(info.szDisplayName);
}

std::string ShellFolderSource::TempFolder() { return GetTempFolder(); }

std::string ShellFolderSource::CurrentFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    return n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string();
}

LazyFolderTable& SharedFolderTable() {
    static ShellFolderSource source;
    static LazyFolderTable table(source);
    return table;
}

namespace {

char AnsiUpper(char c) {
    char buffer[1] = {c};
    ::CharUpperBuffA(buffer, 1);
    return buffer[0];
}

char AnsiLower(char c) {
    char buffer[1] = {c};
    ::CharLowerBuffA(buffer, 1);
    return buffer[0];
}

}  // namespace

CaseMap AnsiCaseMap() { return CaseMap{AnsiUpper, AnsiLower}; }

}  // namespace vimbrel::win32
