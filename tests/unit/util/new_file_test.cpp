// New files are created only where nothing is, links included, and moved into place
// replacing a file but never a folder.
#include "util/new_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "scratch_folder.h"
#include "whole_files.h"

namespace vimbrel {
namespace {

namespace fs = std::filesystem;

using testing::ReadAll;
using testing::WriteText;

TEST(NewFile, NothingExistingIsOpenedOrFollowed) {
    const testing::ScratchFolder scratch("vimbrel-newfile");
    const fs::path& dir = scratch.path();
    WriteText(dir / "outside", "kept");
    WriteText(dir / "file", "kept");
    fs::create_symlink(dir / "outside", dir / "link");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    for (const char* name : {"file", "link", "dangling"}) {
        SCOPED_TRACE(name);
        errno = 0;
        EXPECT_EQ(CreateNewFile((dir / name).string()), nullptr);
        EXPECT_EQ(errno, EEXIST);
    }
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_EQ(ReadAll(dir / "outside"), "kept");

    std::FILE* f = CreateNewFile((dir / "new").string());
    ASSERT_NE(f, nullptr);
    std::fputs("new", f);
    std::fclose(f);

    EXPECT_FALSE(MoveFileInto((dir / "new").string(), (dir / "file").string(), false));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadAll(dir / "file"), "kept");
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(MoveFileInto((dir / "new").string(), (dir / "folder").string(), true));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(MoveFileInto((dir / "new").string(), (dir / "file").string(), true));
    EXPECT_EQ(ReadAll(dir / "file"), "new");
    EXPECT_FALSE(fs::exists(dir / "new"));
}

}  // namespace
}  // namespace vimbrel
