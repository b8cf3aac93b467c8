#pragma once
// The main window and the system as the command groups' tests play them: every question is
// answered from a field, and everything done is written to one log, in order.
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "commands/standard_commands.h"
#include "desktop/sys_hotkey.h"
#include "workspace/current_image.h"
#include "test_pictures.h"

namespace vimbrel::testing {

struct FakeWindow : Dialogs, Shell, ImageView, CursorPort, MainView {
    // Answers.
    std::optional<std::string> openAnswer;
    std::optional<SaveChoice> saveAnswer;
    bool confirmAnswer = true;
    std::string tempFolder;
    std::uintptr_t target = 0;
    bool scrollable = false;
    bool programEnded = false;  // a WM_QUIT met while pending messages ran
    bool shown = true;          // the main window is on the screen
    // What was done.
    std::vector<std::string> log;
    std::string statusText;
    bool busy = false;
    ImagePointer pointer = ImagePointer::Normal;

    std::optional<std::string> AskOpenFile(const std::string& filter, const std::string& folder, int index) override {
        log.push_back("open dialog " + folder + " " + std::to_string(index) + " " + filter.substr(0, 7));
        return openAnswer;
    }
    std::optional<SaveChoice> AskSaveFile(const std::string& filter, const std::string& folder, int index) override {
        log.push_back("save dialog " + folder + " " + std::to_string(index) + " " + filter.substr(0, 6));
        return saveAnswer;
    }
    void Warning(const std::string& text) override { log.push_back("warning " + text); }
    bool Confirm(const std::string& text) override {
        log.push_back("confirm " + text);
        return confirmAnswer;
    }
    void ShowAbout() override { log.push_back("about"); }

    void OpenWithSystem(const std::string& path) override { log.push_back("system opens " + path); }
    void StartProgram(const std::string& program, const std::string& parameters) override {
        log.push_back("start " + program + " " + parameters);
    }
    void Beep() override { log.push_back("beep"); }
    std::string TempFolder() override { return tempFolder; }

    void ShowImage1(const Bitmap&) override {}
    void SetStatusText(const std::string& text) override { statusText = text; }
    void WarningBox(const std::string& text) override { log.push_back("warning " + text); }
    void UpdateNotesState() override {}
    bool BusyCursorShown() const override { return busy; }
    void ShowBusyCursor(bool on) override { busy = on; }

    void RestoreMainWindow() override {
        log.push_back("pop-up");
        shown = true;
    }
    bool HideMainWindow() override {
        log.push_back("hide");
        return std::exchange(shown, false);
    }
    bool LetPendingMessagesRun() override { return !programEnded; }
    void SetImagePointer(ImagePointer p) override { pointer = p; }
    bool ImageScrollable() override { return scrollable; }
    void ScrollImageLine(bool horizontal, bool forward) override {
        log.push_back(std::string("scroll ") + (horizontal ? (forward ? "right" : "left") : (forward ? "down" : "up")));
    }
    void UpdateOptionIndicators() override { log.push_back("indicators"); }
    std::uintptr_t TargetWindow() const override { return target; }
};

struct NoRegistrar : HotKeyRegistrar {
    bool RegisterHotKey(int, unsigned, unsigned) override { return true; }
    void UnregisterHotKey(int) override {}
};

// Settings and files for groups that use neither.
struct NoFiles : SettingsStore, FileSystemPort {
    std::string Read(const std::string&) override { return {}; }
    void Write(const std::string&, const std::string&) override {}
    bool FileExists(const std::string&) const override { return false; }
    bool FolderExists(const std::string&) const override { return false; }
    std::optional<std::uint64_t> FileSize(const std::string&) const override { return {}; }
    bool CreateFolderPath(const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
};

struct MemoryStore : SettingsStore {
    std::map<std::string, std::string> values;
    std::string Read(const std::string& name) override { return values[name]; }
    void Write(const std::string& name, const std::string& value) override { values[name] = value; }
};

// The real disk, for flows that write and read files in a scratch folder.
struct DiskFiles : FileSystemPort {
    bool FileExists(const std::string& path) const override { return std::filesystem::is_regular_file(path); }
    bool FolderExists(const std::string& path) const override { return std::filesystem::is_directory(path); }
    std::optional<std::uint64_t> FileSize(const std::string& path) const override {
        std::error_code e;
        auto size = std::filesystem::file_size(path, e);
        return e ? std::nullopt : std::optional<std::uint64_t>(size);
    }
    bool CreateFolderPath(const std::string& path) override { return std::filesystem::create_directories(path); }
    bool RemoveFile(const std::string& path) override { return std::filesystem::remove(path); }
};

// The main window's standard controls, for the router of a group under test.
inline const CommandTable& StandardTable() {
    static const CommandTable table = StandardCommandTable();
    return table;
}

// Binds each handler to writing its name into the log: other groups' commands as seen from
// the group under test.
inline void LogRoutes(CommandRouter& router, std::vector<std::string>& log,
                      std::initializer_list<std::pair<Handler, const char*>> routes) {
    for (auto [handler, name] : routes) router.Bind(handler, [&log, name = std::string(name)] { log.push_back(name); });
}

}  // namespace vimbrel::testing
