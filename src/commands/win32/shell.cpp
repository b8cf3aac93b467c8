#include "commands/win32/shell.h"

#include <shellapi.h>

#include "util/win32/system.h"

namespace vimbrel::win32 {

void WinShell::OpenWithSystem(const std::string& path) {
    ::ShellExecuteA(::GetDesktopWindow(), "Open", path.c_str(), "", "", SW_SHOWNORMAL);
}

void WinShell::StartProgram(const std::string& program, const std::string& parameters) {
    ::ShellExecuteA(owner_, "Open", program.c_str(), parameters.c_str(), "", SW_SHOWNORMAL);
}

void WinShell::Beep() { ::MessageBeep(MB_OK); }

std::string WinShell::TempFolder() { return GetTempFolder(); }

}  // namespace vimbrel::win32
