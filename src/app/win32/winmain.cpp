// Program start: the log line, the single-instance test, the hand-over of a second start,
// then the main window and its message loop.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/hand_over.h"
#include "app/win32/exception_handler.h"
#include "app/win32/logger.h"
#include "app/win32/main_window.h"
#include "mail/win32/mapi_library.h"
#include "util/errors.h"
#include "workspace/step_trace.h"
#include "workspace/win32/process_memory.h"
#include "util/win32/handles.h"
#include "util/win32/modal.h"
#include "util/win32/system.h"
#include "util/win32/window_base.h"

using namespace vimbrel;
using namespace vimbrel::win32;

namespace {

std::string FirstArgument() { return __argc > 1 ? std::string(__argv[1]) : std::string(); }

int RunSecondInstance(const std::string& argument) {
    HWND first = ::FindWindowA(kMainWindowClass, nullptr);
    if (!first) return 0;
    HandOverMessage message = DecideHandOver(argument, !argument.empty() && FileExists(argument));
    if (message == HandOverMessage::OpenHandOverFile) {
        try {
            WriteFileText(argument, GetTempFolder() + kHandOverFileName);
        } catch (const std::exception& e) {
            ModalMessageBox(nullptr, e.what(), "Error", MB_OK | MB_ICONERROR);
            return 1;
        }
    }
    // Only the foreground process may hand the foreground on: without this the first
    // instance's window stays behind and its taskbar button flashes.
    DWORD firstProcess = 0;
    ::GetWindowThreadProcessId(first, &firstProcess);
    ::AllowSetForegroundWindow(firstProcess);
    ::SendMessageA(first, UINT(message), 0, 0);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Debug lines (the step trace of each capture) are timed and sent only while a viewer
    // runs.
    if (ConnectLogger()) SetDebugSink(&LogDebugMsg);
    LogMsg("Begin DPR");

    // Held, unreleased, until the process ends.
    static UniqueKernelHandle instanceMutex(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
    if (::WaitForSingleObject(instanceMutex.get(), 0) == WAIT_TIMEOUT) return RunSecondInstance(FirstArgument());

    StepTrace trace("start");
    MemoryTrace memory("start memory (KB)");
    // Every window and dialog procedure hands its failures to the program's handler.
    SetWindowFailureHandler(&ReportException);
    // Simple MAPI is looked for when mail is first sent (mail commands); freed at the end.
    MapiUnloader mapiUnloader;

    MainWindow window(FirstArgument());
    try {
        if (!window.Create()) return 1;
        trace.Step("window");
        memory.Step("window");
    } catch (...) {
        ReportException(nullptr, std::current_exception());
        return 1;
    }
    // The line goes out now, before the first message.
    trace.Flush();
    memory.Flush();
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        bool handled = false;
        RunReported(window.Hwnd(), [&] { handled = window.PreTranslate(msg); });
        if (handled) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}
