#include "crypto/cipher_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "crypto/cipher_errors.h"
#include "util/utf8_text.h"

namespace vimbrel::cipher_files {

namespace {

std::string SystemReason() { return std::strerror(errno); }

std::string Text(std::string_view prefix, const char* what) { return std::string(prefix) + what; }

}  // namespace

void GiveBuffer(FilePtr& f) {
    f.get_deleter().buffer = std::make_unique_for_overwrite<char[]>(StreamBuffer);
    std::setvbuf(f.get(), f.get_deleter().buffer.get(), _IOFBF, StreamBuffer);
}

FilePtr OpenInput(const std::string& name, std::string_view prefix) {
    FilePtr f(std::fopen(name.c_str(), "rb"));
    if (!f) throw EFileError(Text(prefix, "Input file not found"));
    GiveBuffer(f);
    return f;
}

std::size_t ReadChunk(std::FILE* f, std::uint8_t* buffer, std::size_t size, bool& atEnd, std::string_view prefix) {
    std::size_t n = std::fread(buffer, 1, size, f);
    if (n == size && !std::feof(f)) {
        int c = std::fgetc(f);
        if (c != EOF) std::ungetc(c, f);
    }
    if (std::ferror(f)) throw EFileError(Text(prefix, "Error reading input file: ") + SystemReason());
    atEnd = std::feof(f) != 0;
    return n;
}

void WriteAll(std::FILE* f, const std::uint8_t* p, std::size_t n, std::string_view prefix) {
    if (n && std::fwrite(p, 1, n, f) < n) throw EFileError(Text(prefix, "Error writing output file"));
}

void FlushOutput(std::FILE* f, std::string_view prefix) {
    if (std::fflush(f) != 0 || std::ferror(f))
        throw EFileError(Text(prefix, "Error writing output file: ") + SystemReason());
}

OutputFile::OutputFile(const std::string& inName, const std::string& outName, std::string_view prefix)
    : name_(outName), prefix_(prefix) {
    // Opening the input as output would truncate it before it is read.
    std::error_code ec;
    if (std::filesystem::equivalent(PathFromUtf8(inName), PathFromUtf8(outName), ec)) throw EFileError(Text(prefix, "Could not open output file"));
    file_.reset(std::fopen(outName.c_str(), "wb"));
    if (!file_) throw EFileError(Text(prefix, "Could not open output file"));
    GiveBuffer(file_);
}

OutputFile::~OutputFile() {
    if (file_) {
        file_.reset();
        std::remove(name_.c_str());
    }
}

void OutputFile::Close() {
    std::FILE* f = file_.get();
    bool failed = std::fflush(f) != 0 || std::ferror(f);
    std::string reason = failed ? SystemReason() : std::string();
    failed = (std::fclose(file_.release()) != 0) || failed;
    if (failed) {
        if (reason.empty()) reason = SystemReason();
        std::remove(name_.c_str());
        throw EFileError(Text(prefix_, "Error writing output file: ") + reason);
    }
}

}  // namespace vimbrel::cipher_files
