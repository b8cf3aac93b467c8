#include "settings/win32/ini_file.h"

#include <windows.h>

#include <stdexcept>

#include "util/utf8_text.h"
#include "util/win32/legacy_text.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {

WinOverrideFile::WinOverrideFile(std::string path) : path_(std::move(path)) {
    std::string text;
    try {
        text = ReadFileText(path_);
    } catch (const std::exception&) {
        return;  // unreadable: every key reads as empty, as the profile functions give it
    }
    std::string utf8 = StoredTextAsUtf8(text, LegacyToUtf8);
    if (utf8 == text) return;
    const std::string copy = GetTempFolder() + "~~vrcustom-" + std::to_string(::GetCurrentProcessId()) + ".ini";
    try {
        WriteFileText(utf8, copy);
    } catch (const std::exception&) {
        return;
    }
    utf8Copy_ = path_ = copy;
}

WinOverrideFile::~WinOverrideFile() {
    if (!utf8Copy_.empty()) ::DeleteFileA(utf8Copy_.c_str());
}

std::string WinOverrideFile::Read(const std::string& section, const std::string& key) {
    char buffer[2048] = {};
    DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), path_.c_str());
    return std::string(buffer, n);
}

}  // namespace vimbrel::win32
