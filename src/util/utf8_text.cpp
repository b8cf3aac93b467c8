#include "util/utf8_text.h"

#include <cstdint>

namespace vimbrel {

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = std::uint8_t(text[i]);
        int length = 0;
        std::uint32_t low = 0;  // smallest code point of that length: shorter forms are overlong
        if (lead < 0x80) { ++i; continue; }
        if (lead >= 0xC2 && lead <= 0xDF) length = 2, low = 0x80;
        else if (lead >= 0xE0 && lead <= 0xEF) length = 3, low = 0x800;
        else if (lead >= 0xF0 && lead <= 0xF4) length = 4, low = 0x10000;
        else return false;
        if (i + std::size_t(length) > text.size()) return false;
        std::uint32_t code = lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = std::uint8_t(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += std::size_t(length);
    }
    return true;
}

std::string StoredTextAsUtf8(std::string_view stored, const LegacyDecoder& fromLegacy) {
    if (IsValidUtf8(stored)) return std::string(stored);
    std::string out;
    out.reserve(stored.size() + stored.size() / 2);
    while (!stored.empty()) {
        const std::size_t end = stored.find('\n');
        const std::string_view line = stored.substr(0, end == std::string_view::npos ? stored.size() : end + 1);
        if (IsValidUtf8(line))
            out += line;
        else
            out += fromLegacy(line);
        stored.remove_prefix(line.size());
    }
    return out;
}

}  // namespace vimbrel
