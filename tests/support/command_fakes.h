#pragma once
// The program state the image file commands work on, over real files in a scratch folder,
// with the user's answers and the system played by the shared fakes.
#include <gtest/gtest.h>

#include <filesystem>

#include "workspace/image_file_commands.h"
#include "desktop/sys_hotkey.h"
#include "fake_ports.h"
#include "scratch_folder.h"
#include "test_pictures.h"

namespace vimbrel::fakes {

namespace fs = std::filesystem;

using FakeUi = testing::FakeWindow;
using testing::DiskFiles;
using testing::MemoryStore;
using testing::NoRegistrar;
using testing::Filled;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.tempFolder = folder;
        flags.OpenPath = flags.SavePath = flags.AutoSavePath = folder;
        image.Start();
    }

    std::string Path(const std::string& name) const { return folder + name; }

    // Made first, so the members below are built with it.
    testing::ScratchFolder dir{"vimbrel-files"};
    std::string folder = dir.Slashed();
    FakeUi ui;
    DiskFiles files;
    OptionFlags flags;
    CommandStates commands;
    CurrentImage image{commands, ui, ui, [this] { return !flags.ImageEditor.empty(); }};
    MemoryStore store;
    NoRegistrar registrar;
    TSysHotKey hotKeys{registrar};
    CommandRouter router{testing::StandardTable()};
    ImageFileCommands cmd{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder}};
};

}  // namespace vimbrel::fakes
