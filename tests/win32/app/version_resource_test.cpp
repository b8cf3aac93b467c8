// Both programs carry the one CMake version in their version resources, as Explorer and
// installers read it (GetFileVersionInfo).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "version.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {
namespace {

// A Unix path of the build as Wine shows it.
std::string WinePath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

// One string of the resource's US English, Windows Latin-1 table.
std::string VersionString(const std::string& file, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return "(no version resource)";
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return "(unreadable)";
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904E4\\" + name;
    if (!::VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
        return "(missing)";
    return std::string(value, ::strnlen(value, length));
}

void ExpectVersionResource(const std::string& file, const std::string& originalName) {
    SCOPED_TRACE(file);
    EXPECT_EQ(GetFileVersionText(file), VIMBREL_VERSION_TEXT ".0");
    EXPECT_EQ(VersionString(file, "FileVersion"), VIMBREL_VERSION_TEXT);
    EXPECT_EQ(VersionString(file, "ProductVersion"), VIMBREL_VERSION_TEXT);
    EXPECT_EQ(VersionString(file, "ProductName"), "Vimbrel");
    EXPECT_EQ(VersionString(file, "OriginalFilename"), originalName);
    EXPECT_EQ(VersionString(file, "LegalCopyright").rfind("Copyright", 0), 0u) << VersionString(file, "LegalCopyright");
    EXPECT_NE(VersionString(file, "FileDescription").find("Vimbrel"), std::string::npos);
}

TEST(VersionResource, BothProgramsCarryTheCMakeVersion) {
    ExpectVersionResource(WinePath(VIMBREL_EXE), "Vimbrel.exe");
    ExpectVersionResource(WinePath(VRX_EXE), "vrx.exe");
}

}  // namespace
}  // namespace vimbrel::win32
