#include "util/win32/legacy_text.h"

#include <windows.h>

#include <cwchar>

namespace vimbrel::win32 {
namespace {

// CP_ACP is UTF-8 in this process; the system locale still names the code page that
// texts written before were in.
UINT LegacyCodePage() {
    wchar_t number[8] = {};
    if (::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, 8) <= 0) return 1252;
    const UINT page = UINT(std::wcstoul(number, nullptr, 10));
    return page == 0 || page == CP_UTF8 ? 1252 : page;
}

}  // namespace

std::string LegacyToUtf8(std::string_view text) {
    if (text.empty()) return {};
    static const UINT page = LegacyCodePage();
    const int wide = ::MultiByteToWideChar(page, 0, text.data(), int(text.size()), nullptr, 0);
    if (wide <= 0) return std::string(text);
    std::wstring w(std::size_t(wide), L'\0');
    ::MultiByteToWideChar(page, 0, text.data(), int(text.size()), w.data(), wide);
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace vimbrel::win32
