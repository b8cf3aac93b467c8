#pragma once
// What a second start of the program tells the running one.
#include <string>

namespace vimbrel {

// Private messages, WM_USER + 1 to WM_USER + 4.
enum class HandOverMessage : unsigned {
    CaptureFullScreen = 0x0401,
    CaptureActiveWindow = 0x0402,
    OpenHandOverFile = 0x0403,
    Restore = 0x0404,
};

inline constexpr const char* kHandOverFileName = "~~vrl01";
inline constexpr const char* kInstanceMutexName = "VRL";
inline constexpr const char* kMainWindowClass = "TfrmCaptureForm";

// The message for the first command-line argument (empty when there is none). The
// comparison is exact: "\a" in lower case only restores.
HandOverMessage DecideHandOver(const std::string& argument, bool argumentIsExistingFile);

}  // namespace vimbrel
