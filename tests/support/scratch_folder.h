#pragma once
// A folder of one test's own under the temp folder, made empty at the start and removed
// with all it holds at the end. Its name carries the process and a count, since ctest runs
// tests side by side and a test may make more than one; it stays short for Windows paths.
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace vimbrel::testing {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag) : path_(std::filesystem::temp_directory_path() / Name(tag)) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with its separator, as the program's folder settings hold it.
    std::string Slashed() const { return (path_ / "").string(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    static std::string Name(const std::string& tag) {
#ifdef _WIN32
        std::string name = tag + "-" + std::to_string(::_getpid());
#else
        std::string name = tag + "-" + std::to_string(::getpid());
#endif
        static int made = 0;
        return name + "-" + std::to_string(++made);
    }

    std::filesystem::path path_;
};

}  // namespace vimbrel::testing
