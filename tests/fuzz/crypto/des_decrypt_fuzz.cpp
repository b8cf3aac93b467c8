// Deciphers arbitrary files: the first byte picks the mode, the rest is the ciphertext.
// A success must write between 1 and 8 bytes less than it read; a failure must be one of
// the component's errors and leave no output file.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "crypto/des.h"

namespace {

const std::string Dir = (std::filesystem::temp_directory_path() / ("vimbrel-des-fuzz-" + std::to_string(getpid()))).string();
const std::string In = Dir + "/in.vrx";
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
    if (size == 0) return 0;
    {
        std::ofstream f(In, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    std::filesystem::remove(Out);

    vimbrel::TDES des;
    des.CipherMode = static_cast<vimbrel::TCipherMode>(data[0] & 3);
    des.SetIV("pLmOkNiJbHuVgYcF");
    des.SetKey("fuzz key");
    const std::size_t cipherSize = size - 1;
    try {
        des.DecryptFile(In, Out);
    } catch (const vimbrel::EFileError&) {
        if (std::filesystem::exists(Out)) __builtin_trap();
        return 0;
    }
    std::size_t plainSize = std::filesystem::file_size(Out);
    if (cipherSize == 0 || cipherSize % 8 || plainSize >= cipherSize || plainSize + 8 < cipherSize) __builtin_trap();
    return 0;
}
