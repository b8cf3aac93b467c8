#include "util/win32/system.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <regex>

#include "util/errors.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {
namespace {

std::string ScratchFolder(const std::string& name) {
    std::string folder = GetTempFolder() + "vimbrel-util-" + name;
    ShellFileOperation(folder, "", FO_DELETE, FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
    return folder;
}

TEST(SystemQueries, WindowsAndTempFolders) {
    EXPECT_TRUE(FolderExists(GetWindowsFolder()));
    const std::string temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(IsWinNT());
}

TEST(SystemQueries, FileVersionText) {
    const std::string version = GetFileVersionText(GetWindowsFolder() + "\\system32\\kernel32.dll");
    EXPECT_TRUE(std::regex_match(version, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+"))) << version;
    const std::string folder = ScratchFolder("version");
    ASSERT_TRUE(CreateFolderPath(folder));
    WriteFileText("no resources here", folder + "\\plain.txt");
    EXPECT_EQ(GetFileVersionText(folder + "\\plain.txt"), "");
}

TEST(Files, WriteAndReadExactBytes) {
    const std::string folder = ScratchFolder("files");
    ASSERT_TRUE(CreateFolderPath(folder + "\\a\\b\\"));
    EXPECT_TRUE(FolderExists(folder + "\\a\\b"));
    const std::string path = folder + "\\a\\b\\~~vrl01";
    const std::string bytes("C:\\x\0y\r\n\xff", 9);
    WriteFileText(bytes, path);
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FolderExists(path));
    EXPECT_EQ(ReadFileText(path), bytes);
    WriteFileText("short", path);  // truncates what was there
    EXPECT_EQ(ReadFileText(path), "short");
    WriteFileText("", path);
    EXPECT_EQ(ReadFileText(path), "");
}

TEST(Files, ErrorsNameTheFile) {
    const std::string missing = ScratchFolder("missing") + "\\nowhere\\file.txt";
    try {
        WriteFileText("x", missing);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Error writing to " + missing);
    }
    try {
        ReadFileText(missing);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Error reading from" + missing);
    }
    EXPECT_THROW(CreateFolderPath(""), EFolderError);
}

TEST(Files, ReadingALockedFileGivesUpEmptyAfterFifteenSeconds) {
    const std::string folder = ScratchFolder("lock");
    ASSERT_TRUE(CreateFolderPath(folder));
    const std::string path = folder + "\\locked.txt";
    WriteFileText("secret", path);
    UniqueFile holder(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    ASSERT_TRUE(::LockFile(holder.get(), 0, 0, 6, 0));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadFileText(path), "");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::seconds(14));
    ASSERT_TRUE(UnlockFileRange(holder.get(), 0, 6));
    EXPECT_EQ(ReadFileText(path), "secret");
}

TEST(ShellFileOperation, DeletesAFoldersContentsAndKeepsTheFolder) {
    const std::string folder = ScratchFolder("work");
    ASSERT_TRUE(CreateFolderPath(folder + "\\sub"));
    WriteFileText("a", folder + "\\one.txt");
    WriteFileText("b", folder + "\\sub\\two.txt");
    EXPECT_TRUE(ShellFileOperation(folder + "\\*.*", "", FO_DELETE, FOF_SILENT | FOF_NOCONFIRMATION));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FileExists(folder + "\\one.txt"));
    EXPECT_FALSE(FolderExists(folder + "\\sub"));
}

TEST(ShellFileOperation, RefusesBadRequestsWithoutCallingTheShell) {
    const std::string folder = ScratchFolder("refuse");
    ASSERT_TRUE(CreateFolderPath(folder));
    WriteFileText("a", folder + "\\keep.txt");
    EXPECT_FALSE(ShellFileOperation(folder + "\\keep.txt", "", 5, FOF_SILENT | FOF_NOCONFIRMATION));
    EXPECT_FALSE(ShellFileOperation("", "", FO_DELETE, FOF_SILENT | FOF_NOCONFIRMATION));
    EXPECT_TRUE(FileExists(folder + "\\keep.txt"));
    EXPECT_TRUE(ShellFileOperation(folder + "\\keep.txt", folder + "\\moved.txt", FO_MOVE,
                                   FOF_SILENT | FOF_NOCONFIRMATION | FOF_WANTMAPPINGHANDLE));
    EXPECT_TRUE(FileExists(folder + "\\moved.txt"));
}

TEST(ReadRegString, StringsDefaultsAndOtherTypes) {
    const char* key = "Software\\KRD\\VimbrelUtilTest";
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Name", "dflt"), "dflt");
    UniqueHKey k;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(k.get(), "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>("value"), 6);
    ::RegSetValueExA(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\o.exe"), 9);
    DWORD number = 7;
    ::RegSetValueExA(k.get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Name", "dflt"), "value");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "", "dflt"), "C:\\o.exe");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, "Other", "dflt"), "dflt");
    EXPECT_THROW(ReadRegString(HKEY_CURRENT_USER, key, "Number", "dflt"), ERegistryException);
    k.reset();
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

// Top-level windows of chosen classes, destroyed with the fixture.
class TopWindows : public ::testing::Test {
protected:
    ~TopWindows() override {
        for (HWND w : windows_)
            ::DestroyWindow(w);
    }
    HWND Make(const char* className, const char* title) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        ::RegisterClassA(&wc);
        HWND w = ::CreateWindowExA(0, className, title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        windows_.push_back(w);
        return w;
    }
    std::vector<HWND> windows_;
};

TEST_F(TopWindows, ClassIsAPrefixTestInAnyAsciiCase) {
    Make("MyTKXDataLogger", "");
    EXPECT_EQ(FindTopWindow("", "TKXDataLogger"), nullptr);
    HWND upper = Make("TKXDATALOGGER", "Viewer one");
    EXPECT_EQ(FindTopWindow("", "TKXDataLogger"), upper);
    ::DestroyWindow(upper);
    HWND longer = Make("TKXDataLoggerMain", "Viewer two");
    EXPECT_EQ(FindTopWindow("", "tkxdatalogger"), longer);
    EXPECT_EQ(FindTopWindow("ER TW", "TKXDataLogger"), longer);
    EXPECT_EQ(FindTopWindow("three", "TKXDataLogger"), nullptr);
}

}  // namespace
}  // namespace vimbrel::win32
