#pragma once
// The user's answers and the system played by fakes, and the program state the image file
// commands work on, over real files in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/image_file_commands.h"
#include "desktop/sys_hotkey.h"

namespace vimbrel::fakes {

namespace fs = std::filesystem;

struct FakeUi : Dialogs, Shell, ImageView, CursorPort, MainView {
    // Answers.
    std::optional<std::string> openAnswer;
    std::optional<SaveChoice> saveAnswer;
    bool confirmAnswer = true;
    // What was asked.
    std::vector<std::string> log;
    std::string statusText;
    bool busy = false;

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
    void OpenWithSystem(const std::string& path) override { log.push_back("system opens " + path); }
    void StartProgram(const std::string& program, const std::string& parameters) override {
        log.push_back("start " + program + " " + parameters);
    }
    void ShowAbout() override { log.push_back("about"); }
    void Beep() override { log.push_back("beep"); }
    std::string TempFolder() override { return tempFolder; }
    std::string tempFolder;

    void RestoreMainWindow() override { log.push_back("restore"); }
    void HideMainWindow() override { log.push_back("hide"); }
    void UpdateOptionIndicators() override {}
    std::uintptr_t TargetWindow() const override { return 0; }

    void ShowImage1(const Bitmap&) override {}
    void SetStatusText(const std::string& text) override { statusText = text; }
    void WarningBox(const std::string& text) override { log.push_back("warning " + text); }
    void UpdateNotesState() override {}
    bool BusyCursorShown() const override { return busy; }
    void ShowBusyCursor(bool on) override { busy = on; }
};

struct DiskFiles : FileSystemPort {
    bool FileExists(const std::string& path) const override { return fs::is_regular_file(path); }
    bool FolderExists(const std::string& path) const override { return fs::is_directory(path); }
    std::optional<std::uint64_t> FileSize(const std::string& path) const override {
        std::error_code e;
        auto size = fs::file_size(path, e);
        return e ? std::nullopt : std::optional<std::uint64_t>(size);
    }
    bool CreateFolderPath(const std::string& path) override { return fs::create_directories(path); }
    bool RemoveFile(const std::string& path) override { return fs::remove(path); }
};

struct NoRegistrar : HotKeyRegistrar {
    bool RegisterHotKey(int, unsigned, unsigned) override { return true; }
    void UnregisterHotKey(int) override {}
};

struct MemoryStore : SettingsStore {
    std::map<std::string, std::string> values;
    std::string Read(const std::string& name) override { return values[name]; }
    void Write(const std::string& name, const std::string& value) override { values[name] = value; }
};

inline Bitmap Picture(int w, int h, std::uint8_t shade) {
    Bitmap b(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelColour(x, y, RgbQuad{shade, std::uint8_t(x), std::uint8_t(y), 0});
    return b;
}

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        ui.tempFolder = folder;
        flags.OpenPath = flags.SavePath = flags.AutoSavePath = folder;
        image.Start();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return folder + name; }

    // Named in the constructor, so the members below are built with it.
    static fs::path ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return fs::temp_directory_path() / ("vimbrelifc" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            test->test_suite_name() + test->name());
    }

    fs::path dir = ScratchFolder();
    std::string folder = dir.string() + "/";
    FakeUi ui;
    DiskFiles files;
    OptionFlags flags;
    CommandStates commands;
    CurrentImage image{commands, ui, ui, [this] { return !flags.ImageEditor.empty(); }};
    MemoryStore store;
    NoRegistrar registrar;
    TSysHotKey hotKeys{registrar};
    CommandRouter router;
    ImageFileCommands cmd{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder}};
};

}  // namespace vimbrel::fakes
