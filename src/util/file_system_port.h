#pragma once
// What the logic asks of the file system, behind ports so the rules are tested without a
// disk. FileQueries answers questions only; FileSystemPort also creates and removes.
#include <cstdint>
#include <optional>
#include <string>

namespace vimbrel {

class FileQueries {
public:
    virtual ~FileQueries() = default;
    virtual bool FileExists(const std::string& path) const = 0;
};

class FileSystemPort : public FileQueries {
public:
    virtual bool FolderExists(const std::string& path) const = 0;
    // Size of an existing file, nothing when there is no such file.
    virtual std::optional<std::uint64_t> FileSize(const std::string& path) const = 0;
    // Creates the folder with its missing parents; false on failure.
    virtual bool CreateFolderPath(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
};

// Removes a file when the scope ends, whichever way it ends: for plain copies that must
// not outlive the command that made them.
class FileRemover {
public:
    FileRemover(FileSystemPort& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~FileRemover() {
        if (files_.FileExists(path_)) files_.RemoveFile(path_);
    }
    FileRemover(const FileRemover&) = delete;
    FileRemover& operator=(const FileRemover&) = delete;

private:
    FileSystemPort& files_;
    std::string path_;
};

}  // namespace vimbrel
