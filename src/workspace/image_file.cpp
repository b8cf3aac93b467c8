#include "workspace/image_file.h"

#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>

#include "util/new_file.h"
#include "workspace/bmp_file.h"
#include "workspace/file_kinds.h"
#include "workspace/png_file.h"

namespace vimbrel {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Headers and colour table on top of the largest pixel buffer.
long long Tell(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}

constexpr std::uint64_t kMaxFileBytes = Bitmap::kMaxBytes + (1 << 20);

// Temporary names tried beside a file being written, for left-overs of earlier crashes.
constexpr int kMaxTemporaryNames = 100;

// Large enough that a screenful goes out in a few dozen system calls, small enough that the
// heap hands back the same memory each time: a megabyte came fresh from the system on every
// write, a page fault for each of its pages, and cost half a millisecond more a capture.
constexpr std::size_t kWriteBufferBytes = std::size_t(256) << 10;

}  // namespace

std::vector<std::uint8_t> ReadImageFileBytes(const std::string& path) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) throw EInOutError("Cannot open file " + path);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throw EInOutError("Error reading from " + path);
    const long long size = Tell(f.get());
    if (size < 0) throw EInOutError("Error reading from " + path);
    if (std::uint64_t(size) > kMaxFileBytes) throw EInvalidGraphic("File too large to be a picture: " + path);
    std::rewind(f.get());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        throw EInOutError("Error reading from " + path);
    return bytes;
}

namespace {

// Written beside the target under a new name and moved into place only when complete, so
// a full disk, a failed write or a failing producer leaves an existing file as it was.
// `produce` hands the file's bytes to its sink in order.
void WriteFileFrom(const std::string& path, const std::function<void(const ByteSink&)>& produce) {
    std::string temp;
    File f;
    for (int i = 0; i < kMaxTemporaryNames && !f; ++i) {
        temp = path + ".part" + (i ? std::to_string(i) : std::string());
        f.reset(CreateNewFile(temp));
        if (!f && errno != EEXIST) break;
    }
    if (!f) throw EInOutError("Cannot create file " + path);
    // A bitmap goes out a row at a time: with the C library's few kilobytes of buffer that
    // is two system calls a row, which under Wine cost as much again as the bytes.
    std::setvbuf(f.get(), nullptr, _IOFBF, kWriteBufferBytes);
    bool written = true;
    try {
        produce([&](std::span<const std::uint8_t> bytes) {
            if (written && !bytes.empty()) written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
        });
    } catch (...) {
        f.reset();
        std::remove(temp.c_str());
        throw;
    }
    written = std::fclose(f.release()) == 0 && written;
    if (!written) {
        std::remove(temp.c_str());
        throw EInOutError("Error writing to " + path);
    }
    if (!MoveFileInto(temp, path, true)) {
        std::remove(temp.c_str());
        throw EInOutError("Cannot create file " + path);
    }
}

}  // namespace

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteFileFrom(path, [&bytes](const ByteSink& put) { put(bytes); });
}

std::optional<Bitmap> LoadImageFile(const std::string& path, const JpegReadOptions& options) {
    const ImageFormat format = ReadFormatFor(path);
    if (format == ImageFormat::None) return std::nullopt;
    const std::vector<std::uint8_t> bytes = ReadImageFileBytes(path);
    switch (format) {
    case ImageFormat::Bmp: return DecodeBmp(bytes);
    case ImageFormat::Png: return DecodePng(bytes);
    default: return DecodeJpeg(bytes, options);
    }
}

void WriteImageFile(const Bitmap& source, const std::string& path) {
    switch (WriteFormatFor(path)) {
    case ImageFormat::Bmp: WriteFileFrom(path, [&source](const ByteSink& put) { EncodeBmpTo(source, put); }); return;
    case ImageFormat::Png: WriteFileBytes(path, EncodePng(source)); return;
    default: WriteFileBytes(path, EncodeJpeg(source)); return;
    }
}

}  // namespace vimbrel
