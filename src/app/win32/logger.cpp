#include "app/win32/logger.h"

#include "app/logger_record.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {

namespace {
HWND g_viewer = nullptr;
std::int32_t g_level = kLogLevelNormal;
}  // namespace

bool ConnectLogger() {
    g_viewer = FindTopWindow("", kLogViewerClass);
    g_level = kLogLevelNormal;
    return g_viewer != nullptr;
}

namespace {
void Send(std::int32_t level, std::string_view text) {
    if (!g_viewer || !::IsWindow(g_viewer))
        return;
    LogRecord record = BuildLogRecord(level, text);
    COPYDATASTRUCT data = {};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = record.data();
    ::SendMessageA(g_viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}
}  // namespace

void LogMsg(std::string_view text) { Send(g_level, text); }

void LogDebugMsg(std::string_view text) { Send(kLogLevelDebug, text); }

HWND LoggerWindow() { return g_viewer; }

}  // namespace vimbrel::win32
