#pragma once
// The settings the main window holds for the run, with the Windows stores they come from:
// the registry key, the override file beside the program, the printers and the folders.
#include <memory>
#include <string>

#include "settings/option_flags.h"
#include "settings/settings.h"
#include "settings/win32/ini_file.h"
#include "print/win32/printers.h"
#include "settings/win32/registry_store.h"
#include "settings/win32/settings_system.h"
#include "settings/win32/startup_entry.h"
#include "desktop/path_list.h"
#include "util/command_states.h"

namespace vimbrel::win32 {

class MainSettings {
public:
    MainSettings(const std::string& programFolder, CommandStates& commands, SettingsView& view);

    const std::string& DataFolder() const { return dataFolder_; }
    const std::string& WorkFolder() const { return loaded_.workFolder; }
    bool PrinterInstalled();
    bool OutlookInstalled() const { return loaded_.outlookInstalled; }

    // "VRCustom.ini" is used while loading when it exists and is not empty; an empty one
    // is deleted.
    void OpenOverrideFile();
    void CloseOverrideFile() { overrides_.reset(); }
    void Load();
    void Save() { SaveSettings(flags_, store_); }

    OptionFlags& Flags() { return flags_; }
    SettingsStore& Store() { return store_; }
    FileSystemPort& Files() { return files_; }
    // The printer the program prints on, as the settings chose it.
    WinPrinters& Printers() { return printers_; }
    StartupEntry& Startup() { return startup_; }
    const TPBPathList& Paths() const { return paths_; }

private:
    std::string programFolder_;
    CommandStates& commands_;
    SettingsView& view_;
    WinRegistryStore store_;
    std::unique_ptr<WinOverrideFile> overrides_;
    WinPrinters printers_;
    WinFileSystem files_;
    WinSystemQueries system_;
    WinStartupEntry startup_;
    TPBPathList paths_;
    std::string dataFolder_;
    OptionFlags flags_;
    LoadedSettings loaded_;
};

}  // namespace vimbrel::win32
