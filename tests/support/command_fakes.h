#pragma once
// The program state the image file commands work on, over real files in a scratch folder,
// with the user's answers and the system played by the shared fakes.
#include <gtest/gtest.h>

#include <filesystem>

#include "workspace/image_file_commands.h"
#include "desktop/sys_hotkey.h"
#include "fake_ports.h"

namespace vimbrel::fakes {

namespace fs = std::filesystem;

using FakeUi = testing::FakeWindow;
using testing::DiskFiles;
using testing::MemoryStore;
using testing::NoRegistrar;

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
    ImageFileCommands cmd{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder}};
};

}  // namespace vimbrel::fakes
