#include "util/win32/system.h"

#include <shellapi.h>

#include <vector>

#include "util/errors.h"
#include "util/text.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {

std::string GetWindowsFolder() {
    char buffer[MAX_PATH + 1] = {};
    UINT n = ::GetWindowsDirectoryA(buffer, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string GetTempFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = ::GetTempPathA(MAX_PATH, buffer);
    return n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string();
}

bool IsWinNT() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL ok = ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return ok && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string GetFileVersionText(const std::string& fileName) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(fileName.c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
           "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionLS));
}

bool FolderExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadRegString(HKEY root, const std::string& key, const std::string& name, const std::string& def) {
    UniqueHKey opened;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS)
        return def;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(opened.get(), name.empty() ? nullptr : name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return def;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException("Invalid data type for '" + name + "'");
    std::string value(size, '\0');
    if (size > 0 && ::RegQueryValueExA(opened.get(), name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
        throw ERegistryException("Invalid data type for '" + name + "'");
    value.resize(size);
    TrimAtNul(value);
    return value;
}

bool LockFileRetry(HANDLE file, std::uint32_t offset, std::uint32_t count) {
    const ULONGLONG deadline = ::GetTickCount64() + 15000;
    for (;;) {
        if (::LockFile(file, offset, 0, count, 0))
            return true;
        if (::GetTickCount64() >= deadline)
            return false;
        ::SleepEx(110, FALSE);
    }
}

bool UnlockFileRange(HANDLE file, std::uint32_t offset, std::uint32_t count) {
    return ::UnlockFile(file, offset, 0, count, 0) != 0;
}

std::string ReadFileText(const std::string& fileName) {
    auto fail = [&] { return EInOutError("Error reading from" + fileName); };
    UniqueFile file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw fail();
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.get(), &size))
        throw fail();
    // Locks cover 32-bit ranges; the files read here are a few hundred bytes.
    const auto lockSize = static_cast<std::uint32_t>(size.QuadPart);
    if (!LockFileRetry(file.get(), 0, lockSize))
        return {};
    std::string text;
    bool ok = ::GetFileSizeEx(file.get(), &size) != 0;
    if (ok) {
        text.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ok = text.empty() || ::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        text.resize(ok ? read : 0);
    }
    UnlockFileRange(file.get(), 0, lockSize);
    if (!ok)
        throw fail();
    return text;
}

void WriteFileText(const std::string& text, const std::string& fileName) {
    auto fail = [&] { return EInOutError("Error writing to " + fileName); };
    UniqueFile file(
        ::CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw fail();
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 30));
        if (!::WriteFile(file.get(), text.data() + done, chunk, &written, nullptr) || written == 0)
            throw fail();
        done += written;
    }
}

bool ShellFileOperation(const std::string& source, const std::string& destination, unsigned operation,
                        unsigned flags) {
    if (operation < FO_MOVE || operation > FO_RENAME || source.empty())
        return false;
    // The shell takes lists of paths, each ended by a NUL and the list by a second one.
    std::string from = source + '\0' + '\0';
    std::string to = destination.empty() ? std::string() : destination + '\0' + '\0';
    SHFILEOPSTRUCTA op = {};
    op.hwnd = nullptr;
    op.wFunc = operation;
    op.pFrom = from.c_str();
    op.pTo = to.empty() ? nullptr : to.c_str();
    // Failures are the caller's to report, never a box of the shell's own.
    op.fFlags = static_cast<FILEOP_FLAGS>((flags | FOF_NOERRORUI) & ~unsigned(FOF_WANTMAPPINGHANDLE));
    op.fAnyOperationsAborted = FALSE;
    return ::SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

bool CreateFolderPath(const std::string& path) {
    if (path.empty())
        throw EFolderError("Unable to create directory");
    std::string folder = path;
    if (folder.back() == '\\')
        folder.pop_back();
    if (folder.size() < 3 || FolderExists(folder))
        return true;
    std::size_t slash = folder.rfind('\\');
    std::string parent = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    // A bare relative name has no parent to make first.
    if (parent.empty())
        return ::CreateDirectoryA(folder.c_str(), nullptr) != 0;
    return CreateFolderPath(parent) && ::CreateDirectoryA(folder.c_str(), nullptr) != 0;
}

namespace {

struct WindowSearch {
    std::string title;
    std::string className;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char name[144] = {};
    int n = ::GetClassNameA(window, name, sizeof(name));
    std::string cls = AsciiUpperCase(std::string_view(name, n > 0 ? std::size_t(n) : 0));
    if (cls.compare(0, search->className.size(), search->className) != 0)
        return TRUE;
    if (!search->title.empty()) {
        char text[256] = {};
        int len = ::GetWindowTextA(window, text, sizeof(text));
        std::string upper = AsciiUpperCase(std::string_view(text, len > 0 ? std::size_t(len) : 0));
        if (upper.find(search->title) == std::string::npos)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindTopWindow(const std::string& title, const std::string& className) {
    WindowSearch search{AsciiUpperCase(title), AsciiUpperCase(className)};
    ::EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace vimbrel::win32
