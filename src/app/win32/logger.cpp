#include "app/win32/logger.h"

#include "app/logger_record.h"
#include "util/win32/system.h"

namespace vimbrel::win32 {

namespace {
HWND g_viewer = nullptr;
std::int32_t g_level = 0;
}  // namespace

bool ConnectLogger() {
    g_viewer = FindTopWindow("", kLogViewerClass);
    g_level = 0;
    return g_viewer != nullptr;
}

void LogMsg(std::string_view text) {
    if (!g_viewer || !::IsWindow(g_viewer))
        return;
    LogRecord record = BuildLogRecord(g_level, text);
    COPYDATASTRUCT data = {};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = record.data();
    ::SendMessageA(g_viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

HWND LoggerWindow() { return g_viewer; }

}  // namespace vimbrel::win32
