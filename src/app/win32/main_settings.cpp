#include "app/win32/main_settings.h"

#include "desktop/win32/path_list.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {

MainSettings::MainSettings(const std::string& programFolder, CommandStates& commands, SettingsView& view)
    : programFolder_(programFolder), commands_(commands), view_(view), paths_(SharedFolderTable()) {
    paths_.Case = AnsiCaseMap();
    dataFolder_ = ComputeDataFolder(IsWinNT(), paths_, programFolder_);
}

bool MainSettings::PrinterInstalled() { return !printers_.PrinterNames().empty(); }

void MainSettings::OpenOverrideFile() {
    std::string path = programFolder_ + kOverrideFileName;
    if (UseOverrideFile(path, files_))
        overrides_ = std::make_unique<WinOverrideFile>(path);
    else
        overrides_.reset();
}

void MainSettings::Load() {
    SettingsContext context{store_,   overrides_.get(), printers_, files_, system_, paths_,
                            commands_, view_,           dataFolder_};
    loaded_ = LoadSettings(flags_, context);
    LoadHotKeyTexts(flags_, store_);
}

}  // namespace vimbrel::win32
