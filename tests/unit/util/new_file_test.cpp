// New files are created only where nothing is, links included, and moved into place
// replacing a file but never a folder.
#include "util/new_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace vimbrel {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

TEST(NewFile, NothingExistingIsOpenedOrFollowed) {
    const fs::path dir = fs::temp_directory_path() / ("vimbrel-newfile-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    Write(dir / "outside", "kept");
    Write(dir / "file", "kept");
    fs::create_symlink(dir / "outside", dir / "link");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    for (const char* name : {"file", "link", "dangling"}) {
        SCOPED_TRACE(name);
        errno = 0;
        EXPECT_EQ(CreateNewFile((dir / name).string()), nullptr);
        EXPECT_EQ(errno, EEXIST);
    }
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_EQ(Read(dir / "outside"), "kept");

    std::FILE* f = CreateNewFile((dir / "new").string());
    ASSERT_NE(f, nullptr);
    std::fputs("new", f);
    std::fclose(f);

    EXPECT_FALSE(MoveFileInto((dir / "new").string(), (dir / "file").string(), false));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(Read(dir / "file"), "kept");
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(MoveFileInto((dir / "new").string(), (dir / "folder").string(), true));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(MoveFileInto((dir / "new").string(), (dir / "file").string(), true));
    EXPECT_EQ(Read(dir / "file"), "new");
    EXPECT_FALSE(fs::exists(dir / "new"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vimbrel
