#include "crypto/strong_file.h"

#include <vector>

#include "crypto/cipher_files.h"

namespace vimbrel {

namespace {

using namespace cipher_files;

constexpr std::string_view kPrefix = "";

// Plain bytes in memory are wiped before the memory is given back.
class WipedBuffer {
public:
    explicit WipedBuffer(std::size_t reserve) { bytes.reserve(reserve); }
    ~WipedBuffer() { WipeSecret(bytes.data(), bytes.capacity()); }
    WipedBuffer(const WipedBuffer&) = delete;
    WipedBuffer& operator=(const WipedBuffer&) = delete;
    std::vector<std::uint8_t> bytes;
};

void EncryptStream(std::string_view keyText, std::FILE* in, std::FILE* out, const StrongParams& params) {
    StrongSealer sealer(keyText, params);
    WriteAll(out, sealer.Header().data(), sealer.Header().size(), kPrefix);
    WipedBuffer plain(sealer.ChunkSize());
    std::vector<std::uint8_t> sealed;
    plain.bytes.resize(sealer.ChunkSize());
    for (bool atEnd = false; !atEnd;) {
        const std::size_t n = ReadChunk(in, plain.bytes.data(), sealer.ChunkSize(), atEnd, kPrefix);
        sealer.Seal({plain.bytes.data(), n}, atEnd, sealed);
        WriteAll(out, sealed.data(), sealed.size(), kPrefix);
    }
}

void DecryptStream(std::string_view keyText, std::FILE* in, std::FILE* out) {
    std::uint8_t header[kStrongHeaderSize];
    bool atEnd = false;
    if (ReadChunk(in, header, sizeof header, atEnd, kPrefix) < sizeof header)
        throw EStrongFileError("Wrong key or damaged encrypted file");
    StrongOpener opener(keyText, header);
    std::vector<std::uint8_t> sealed(opener.SealedChunkSize());
    WipedBuffer plain(opener.SealedChunkSize());
    bool final = false;
    while (!atEnd) {
        const std::size_t n = ReadChunk(in, sealed.data(), sealed.size(), atEnd, kPrefix);
        // A chunk after the final one, or none at all, is refused by the opener.
        final = opener.Open({sealed.data(), n}, plain.bytes);
        WriteAll(out, plain.bytes.data(), plain.bytes.size(), kPrefix);
    }
    if (!final) throw EStrongFileError("Wrong key or damaged encrypted file");
}

}  // namespace

void EncryptFileStrong(std::string_view keyText, const std::string& inName, const std::string& outName,
                       const StrongParams& params) {
    FilePtr in = OpenInput(inName, kPrefix);
    OutputFile out(inName, outName, kPrefix);
    EncryptStream(keyText, in.get(), out.get(), params);
    out.Close();
}

void DecryptFileStrong(std::string_view keyText, const std::string& inName, const std::string& outName) {
    FilePtr in = OpenInput(inName, kPrefix);
    OutputFile out(inName, outName, kPrefix);
    DecryptStream(keyText, in.get(), out.get());
    out.Close();
}

void EncryptFileStrong(std::string_view keyText, const std::string& inName, std::FILE* out,
                       const StrongParams& params) {
    FilePtr in = OpenInput(inName, kPrefix);
    EncryptStream(keyText, in.get(), out, params);
    FlushOutput(out, kPrefix);
}

void DecryptFileStrong(std::string_view keyText, const std::string& inName, std::FILE* out) {
    FilePtr in = OpenInput(inName, kPrefix);
    DecryptStream(keyText, in.get(), out);
    FlushOutput(out, kPrefix);
}

std::optional<StrongHeader> ReadStrongHeader(const std::string& path) {
    FilePtr in = OpenInput(path, kPrefix);
    std::uint8_t header[kStrongHeaderSize];
    bool atEnd = false;
    const std::size_t n = ReadChunk(in.get(), header, sizeof header, atEnd, kPrefix);
    if (!LooksLikeStrongFile({header, n})) return std::nullopt;
    return ParseStrongHeader({header, n});
}

}  // namespace vimbrel
