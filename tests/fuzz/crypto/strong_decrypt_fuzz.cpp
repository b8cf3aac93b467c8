// Deciphers arbitrary files as the program opens them, by their header: a file that is
// not a sound strong (or DES) file under the key must fail with one of the ciphers' errors
// and leave no output. Headers that ask for more than a quick key stretching are passed
// over, so each input stays fast; the bounds themselves are the unit tests'.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "crypto/enciphered_file.h"

namespace {

const std::string Dir =
    (std::filesystem::temp_directory_path() / ("vimbrel-strong-fuzz-" + std::to_string(getpid()))).string();
const std::string In = Dir + "/in.vrs";
const std::string Out = Dir + "/out";

struct RemoveDirAtExit {
    ~RemoveDirAtExit() {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
} removeDirAtExit;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = std::filesystem::create_directories(Dir) || true;
    (void)ready;
    if (vimbrel::LooksLikeStrongFile({data, size})) {
        try {
            const vimbrel::StrongHeader header = vimbrel::ParseStrongHeader({data, size});
            if (header.params.passes > 2 || header.params.memoryKiB > 64) return 0;
        } catch (const vimbrel::EStrongFileError&) {
        }
    }
    {
        std::ofstream f(In, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::filesystem::remove(Out);
    vimbrel::TDES des;
    try {
        vimbrel::DecipherFile(des, "fuzz key", In, Out);
    } catch (const vimbrel::EFileError&) {
        if (std::filesystem::exists(Out)) __builtin_trap();
    }
    return 0;
}
