#pragma once
// Reading and writing the program's settings: the registry key, the override file
// "VRCustom.ini" beside the program, and the defaults.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/option_flags.h"
#include "settings/settings_ports.h"
#include "desktop/path_list.h"
#include "util/command_states.h"

namespace vimbrel {

inline constexpr const char* kSettingsKeyPath = "Software\\KRD\\Vimbrel";
inline constexpr const char* kOverrideFileName = "VRCustom.ini";
inline constexpr const char* kOutlookAppPathKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";

struct SettingsContext {
    SettingsStore& store;
    OverrideFile* overrides;  // null when no override file is in use
    PrinterPort& printers;
    FileSystemPort& files;
    SystemQueries& system;
    const TPBPathList& paths;
    CommandStates& commands;
    SettingsView& view;
    std::string dataFolder;  // ends in a backslash
};

// Facts found while loading that hold for the run.
struct LoadedSettings {
    bool printerInstalled = false;
    bool printingPossible = false;  // a printer exists and answered for its orientation
    bool outlookInstalled = false;
    std::string workFolder;  // ends in a backslash
};

// Fills flags from the store and the override file, sets the commands' checks and
// enabled states, selects the printer, creates the save and work folders when missing.
LoadedSettings LoadSettings(OptionFlags& flags, const SettingsContext& context);
// Writes every option in its stored form ("On"/"Off", "1"/"0", "Yes"/"No" ...).
// NextSaveNo, the hotkeys, MainPosn and CheckClose have their own writes.
void SaveSettings(const OptionFlags& flags, SettingsStore& store);

// The override file is used when it exists and is not empty; an empty one is deleted.
bool UseOverrideFile(const std::string& path, FileSystemPort& files);
bool DetectOutlook(SystemQueries& system, FileSystemPort& files);
// The per-user data folder: under %APPDATA% on NT systems, else the program's folder.
std::string ComputeDataFolder(bool isWinNT, const TPBPathList& paths, const std::string& programFolder);
// The first printer whose name starts with prefix, in any letter case.
std::optional<std::string> FindPrinterByPrefix(const std::vector<std::string>& names, const std::string& prefix);

// Single values written at the moment they change.
void LoadHotKeyTexts(OptionFlags& flags, SettingsStore& store);
void WriteHotKeyTexts(const OptionFlags& flags, SettingsStore& store);
void WriteNextSaveNo(std::int64_t next, SettingsStore& store);
std::string ReadMainPosn(SettingsStore& store);
void WriteMainPosn(const std::string& value, SettingsStore& store);
// False once the user ticked "Do not ask this again" ("CheckClose" is "N").
bool ShouldConfirmExit(SettingsStore& store);
void WriteDoNotConfirmExit(SettingsStore& store);

}  // namespace vimbrel
