#pragma once
// Diagnostic lines for an external log viewer: the first top-level window whose class
// name begins with "TKXDataLogger", looked up once per run. Without a viewer every
// line is dropped at the cost of one test.
#include <windows.h>

#include <string_view>

namespace vimbrel::win32 {

inline constexpr const char* kLogViewerClass = "TKXDataLogger";

// Looks the viewer up; true when one runs.
bool ConnectLogger();
// Sends one line, cut to 255 bytes, synchronously. Dropped when there is no viewer
// or it has closed.
void LogMsg(std::string_view text);
// The same at debug level (level 1 in the record).
void LogDebugMsg(std::string_view text);
// The viewer found by ConnectLogger, 0 when none.
HWND LoggerWindow();

}  // namespace vimbrel::win32
