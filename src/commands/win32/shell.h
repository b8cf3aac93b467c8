#pragma once
// The shell as the command groups use it: associated programs, the beep, the temporary folder.
#include <windows.h>

#include "commands/command_ports.h"

namespace vimbrel::win32 {

class WinShell final : public Shell {
public:
    explicit WinShell(HWND owner) : owner_(owner) {}

    void OpenWithSystem(const std::string& path) override;
    void StartProgram(const std::string& program, const std::string& parameters) override;
    void Beep() override;
    std::string TempFolder() override;

private:
    HWND owner_;
};

}  // namespace vimbrel::win32
