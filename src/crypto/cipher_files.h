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

// Closes the stream, and then frees the buffer the stream was given (if any).
struct FileCloser {
    std::unique_ptr<char[]> buffer;
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Bytes in the buffer each stream gets: a file of tens of MiB then costs a few hundred
// system calls each way instead of one per 4 KiB.
constexpr std::size_t StreamBuffer = 256 * 1024;

// Gives an open stream a buffer of StreamBuffer bytes, owned by its closer. (A null buffer
// with a size would leave glibc at its default of one block.)
void GiveBuffer(FilePtr& f);

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
