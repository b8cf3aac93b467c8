#include "app/win32/main_settings.h"

#include "app/win32/logger.h"
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
    if (UseOverrideFile(path, files_)) {
        overrides_ = std::make_unique<WinOverrideFile>(path);
        return;
    }
    overrides_.reset();
    // Run from a read-only folder the program cannot remove an empty override file there; it
    // runs on without it, and says so in the log rather than in a box.
    if (files_.FileSize(path) == std::optional<std::uint64_t>(0))
        LogMsg("Cannot delete the empty " + path + "; it is not used");
}

void MainSettings::Load() {
    SettingsContext context{store_,   overrides_.get(), printers_, files_, system_, paths_,
                            commands_, view_,           dataFolder_};
    loaded_ = LoadSettings(flags_, context);
    LoadHotKeyTexts(flags_, store_);
    flags_.StartWithWindows = startup_.Registered();
}

}  // namespace vimbrel::win32
