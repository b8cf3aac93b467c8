#pragma once
// The settings store on a registry key of string values (REG_SZ), open for the run.
#include <windows.h>

#include <string>

#include "settings/settings.h"
#include "settings/settings_ports.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {

class WinRegistryStore : public SettingsStore {
public:
    // Opens root\keyPath with full access, creating it when missing. When that fails,
    // reads give empty texts and writes throw.
    explicit WinRegistryStore(HKEY root = HKEY_CURRENT_USER, const std::string& keyPath = kSettingsKeyPath);

    bool IsOpen() const { return static_cast<bool>(key_); }
    // A value of another type than a string reads as empty, like a missing one.
    std::string Read(const std::string& name) override;
    void Write(const std::string& name, const std::string& value) override;

private:
    UniqueHKey key_;
};

}  // namespace vimbrel::win32
