#pragma once
// System queries, whole-file reading and writing, shell file operations, the registry
// read and the top-level window search.
#include <windows.h>

#include <cstdint>
#include <string>

namespace vimbrel::win32 {

std::string GetWindowsFolder();
// As the system gives it, normally ending in a backslash.
std::string GetTempFolder();
bool IsWinNT();
// "1.2.3.4" from the file's version resource; empty when it has none.
std::string GetFileVersionText(const std::string& fileName);
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// The string value name under root\key, or def when the key or the value is missing.
// A value of another type throws ERegistryException.
std::string ReadRegString(HKEY root, const std::string& key, const std::string& name, const std::string& def);

// Retries a locked range about every 110 ms for up to 15 s.
bool LockFileRetry(HANDLE file, std::uint32_t offset, std::uint32_t count);
bool UnlockFileRange(HANDLE file, std::uint32_t offset, std::uint32_t count);

// The whole file; empty when its lock could not be taken in time. Throws EInOutError
// "Error reading from<path>" on input/output errors.
std::string ReadFileText(const std::string& fileName);
// Creates or truncates the file and writes exactly the bytes of text. Throws
// EInOutError "Error writing to <path>".
void WriteFileText(const std::string& text, const std::string& fileName);

// One source (wildcards allowed) and one destination or none; operation FO_MOVE to
// FO_RENAME. True when the shell did it and nothing was aborted. The shell shows no error
// box of its own (FOF_NOERRORUI is always added).
bool ShellFileOperation(const std::string& source, const std::string& destination, unsigned operation,
                        unsigned flags);

// Creates the folder with any missing parents. Throws EFolderError for an empty path.
bool CreateFolderPath(const std::string& path);

// First top-level window whose class name begins with className and whose text
// contains title (both compared in ASCII upper case); 0 when none.
HWND FindTopWindow(const std::string& title, const std::string& className);

}  // namespace vimbrel::win32
