#pragma once
// Whole files read and written in one go.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vimbrel::testing {

// The whole file, empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    const std::string all = ReadAll(path);
    return std::vector<std::uint8_t>(all.begin(), all.end());
}

// Replaces the file with the text, byte for byte; false when it could not be written.
inline bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
    return bool(f.flush());
}

inline bool WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    return WriteText(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace vimbrel::testing
