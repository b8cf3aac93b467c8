#pragma once
// Texts as the program holds them, UTF-8 (the process code page on Windows), and texts
// stored before in the system's legacy code page.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace vimbrel {

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no overlong or
// surrogate forms, nothing beyond U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view text);

// Turns a text of the legacy code page into UTF-8 (the platform knows that code page).
using LegacyDecoder = std::function<std::string(std::string_view)>;

// A stored text as the program reads it: UTF-8 as it stands; anything that is not valid
// UTF-8 was written in the legacy code page and is decoded from it. Line by line, so a
// file that mixes both reads right.
std::string StoredTextAsUtf8(std::string_view stored, const LegacyDecoder& fromLegacy);

// A file system path from a UTF-8 name. std::filesystem takes a char string in no code
// page the process knows of on Windows (each byte becomes one character), so every path
// given to it goes through here.
inline std::filesystem::path PathFromUtf8(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace vimbrel
