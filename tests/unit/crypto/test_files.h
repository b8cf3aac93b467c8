#pragma once
// Byte texts and the openssl command, shared by the cipher and vrx tests.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "whole_files.h"

namespace vimbrel::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Pattern(std::size_t size, unsigned seed = 1) {
    Bytes b(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& v : b) {
        x = x * 1103515245u + 12345u;
        v = static_cast<std::uint8_t>(x >> 24);
    }
    return b;
}

inline std::string Hex(const Bytes& b) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (auto v : b) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

inline Bytes FromHex(const std::string& s) {
    Bytes b;
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) b.push_back(static_cast<std::uint8_t>(std::stoul(s.substr(i, 2), nullptr, 16)));
    return b;
}

inline std::string AsText(const Bytes& b) { return std::string(b.begin(), b.end()); }

#ifndef _WIN32
// Native only: the shell and openssl are Linux tools here.
inline int Shell(const std::string& command) {
    int rc = std::system(command.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// The openssl command with DES available (OpenSSL 3 keeps it in the legacy provider).
inline bool HaveOpensslDes() {
    return Shell("openssl enc -des-cbc -provider legacy -provider default -K 0000000000000000 "
                 "-iv 0000000000000000 -in /dev/null >/dev/null 2>&1") == 0;
}

inline const char* OpensslDes() { return "openssl enc -provider legacy -provider default"; }
#endif

}  // namespace vimbrel::testing
