#pragma once
// The files under a file cipher: the input read in chunks, the output written whole or not
// at all. Each cipher's messages begin with its own prefix ("DES: ").
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace vimbrel::cipher_files {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opened for reading; EFileError "<prefix>Input file not found" when it cannot be.
FilePtr OpenInput(const std::string& name, std::string_view prefix);

// Reads up to size bytes; afterwards `atEnd` tells whether the input has nothing more.
std::size_t ReadChunk(std::FILE* f, std::uint8_t* buffer, std::size_t size, bool& atEnd, std::string_view prefix);

void WriteAll(std::FILE* f, const std::uint8_t* p, std::size_t n, std::string_view prefix);

// Everything written has reached the system.
void FlushOutput(std::FILE* f, std::string_view prefix);

// The output file of one operation; removed again unless the operation completes, so a
// failure never leaves a partial file behind.
class OutputFile {
public:
    OutputFile(const std::string& inName, const std::string& outName, std::string_view prefix);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    std::FILE* get() const { return file_.get(); }
    void Close();

private:
    std::string name_;
    std::string prefix_;
    FilePtr file_;
};

}  // namespace vimbrel::cipher_files
