#pragma once
// What every command group of the main window needs from the platform: the user's answers
// (message boxes and common dialogs), the shell, and the wait cursor, handed to each group
// in one CommandDeps with the program state the groups share.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/option_flags.h"
#include "settings/settings_ports.h"
#include "util/busy_cursor.h"
#include "util/command_states.h"
#include "util/file_system_port.h"

namespace vimbrel {

class CurrentImage;
class CommandRouter;
class TSysHotKey;

// Message boxes are titled with the program title and owned by the main window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The common open dialog: the chosen file, nothing when cancelled.
    virtual std::optional<std::string> AskOpenFile(const std::string& filter, const std::string& folder,
                                                   int filterIndex) = 0;
    struct SaveChoice {
        std::string path;
        int filterIndex = 1;  // as the user left it
    };
    virtual std::optional<SaveChoice> AskSaveFile(const std::string& filter, const std::string& folder,
                                                  int filterIndex) = 0;
    // A message box with the warning icon.
    virtual void Warning(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The about box with the program's name and version.
    virtual void ShowAbout() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // The file's (or web address's) associated program opens it.
    virtual void OpenWithSystem(const std::string& path) = 0;
    virtual void StartProgram(const std::string& program, const std::string& parameters) = 0;
    virtual void Beep() = 0;
    // The system's temporary folder, ending in a backslash.
    virtual std::string TempFolder() = 0;
};

// The pointer over the picture.
enum class ImagePointer { Normal, HandPoint, NoDrop, Help, HandDrag, Cross };

// The main window as the command groups see it.
class MainView {
public:
    virtual ~MainView() = default;
    virtual void RestoreMainWindow() = 0;
    // True when the window was on the screen until now.
    virtual bool HideMainWindow() = 0;
    // Lets pending messages run; false when the program was ended meanwhile, and the
    // command under way stops.
    virtual bool LetPendingMessagesRun() = 0;
    virtual void SetImagePointer(ImagePointer pointer) = 0;
    // Whether the shown picture is wider or taller than the box that shows it.
    virtual bool ImageScrollable() = 0;
    // One line of the box's scroll bar: 4 pixels across, 5 down.
    virtual void ScrollImageLine(bool horizontal, bool forward) = 0;
    // Status panels 1 to 3 and the tray hint, after auto print, auto save or notes changed.
    virtual void UpdateOptionIndicators() = 0;
    // Status panel 0.
    virtual void SetStatusText(const std::string& text) = 0;
    // Target of the active-window capture as Timer1 keeps it; 0 = none yet.
    virtual std::uintptr_t TargetWindow() const = 0;
};

// Everything a command group is built from. The main window owns all of it for the run,
// longer than any group.
struct CommandDeps {
    CurrentImage& image;
    OptionFlags& flags;
    CommandStates& commands;
    SettingsStore& store;
    FileSystemPort& files;
    Dialogs& dialogs;
    Shell& shell;
    CursorPort& cursor;
    MainView& view;
    // shk1: its active state is the program's busy flag; modal work switches it off.
    TSysHotKey& hotKeys;
    // A group starts another group's command through the router (a capture's automatic
    // print, copy, save and editor).
    CommandRouter& router;
    std::string programFolder;
    std::string dataFolder;  // ends with a backslash
};

}  // namespace vimbrel
