#include "app/win32/file_commands_ui.h"

#include <commdlg.h>
#include <shellapi.h>

#include "util/win32/system.h"

namespace vimbrel::win32 {

std::string DialogFilter(const std::string& filter) {
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out.append(2, '\0');
    return out;
}

namespace {

// One common file dialog: its filter, start folder and filter index; the chosen file and the
// filter index the user left, or nothing when cancelled.
std::optional<FileCommandsUi::SaveChoice> RunFileDialog(HWND owner, const std::string& filter,
                                                        const std::string& folder, int filterIndex, bool save) {
    char file[MAX_PATH] = {};
    std::string filters = DialogFilter(filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = DWORD(filterIndex);
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // The overwrite question is the program's own.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | (save ? 0 : OFN_FILEMUSTEXIST);
    if (!(save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn))) return std::nullopt;
    return FileCommandsUi::SaveChoice{std::string(file), int(ofn.nFilterIndex)};
}

}  // namespace

std::optional<std::string> WinFileCommandsUi::AskOpenFile(const std::string& filter, const std::string& folder,
                                                          int filterIndex) {
    auto choice = RunFileDialog(owner_, filter, folder, filterIndex, false);
    if (!choice) return std::nullopt;
    return choice->path;
}

std::optional<FileCommandsUi::SaveChoice> WinFileCommandsUi::AskSaveFile(const std::string& filter,
                                                                         const std::string& folder, int filterIndex) {
    return RunFileDialog(owner_, filter, folder, filterIndex, true);
}

void WinFileCommandsUi::Warning(const std::string& text) {
    ::MessageBoxA(owner_, text.c_str(), title_.c_str(), MB_OK | MB_ICONWARNING);
}

bool WinFileCommandsUi::Confirm(const std::string& text) {
    return ::MessageBoxA(owner_, text.c_str(), title_.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void WinFileCommandsUi::OpenWithSystem(const std::string& path) {
    ::ShellExecuteA(::GetDesktopWindow(), "Open", path.c_str(), "", "", SW_SHOWNORMAL);
}

void WinFileCommandsUi::StartProgram(const std::string& program, const std::string& parameters) {
    ::ShellExecuteA(owner_, "Open", program.c_str(), parameters.c_str(), "", SW_SHOWNORMAL);
}

void WinFileCommandsUi::Beep() { ::MessageBeep(MB_OK); }

std::string WinFileCommandsUi::TempFolder() { return GetTempFolder(); }

}  // namespace vimbrel::win32
