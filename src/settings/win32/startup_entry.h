#pragma once
// "Start with Windows" as Windows keeps it: a value named after the program under
// HKEY_CURRENT_USER\...\CurrentVersion\Run whose data is the program's quoted path.
#include <string>

#include "settings/settings_ports.h"

namespace vimbrel::win32 {

inline constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Vimbrel";

class WinStartupEntry : public StartupEntry {
public:
    // programPath: empty for the program of this process.
    explicit WinStartupEntry(std::string programPath = {});
    bool Registered() override;
    void Set(bool on) override;

private:
    std::string programPath_;
};

}  // namespace vimbrel::win32
