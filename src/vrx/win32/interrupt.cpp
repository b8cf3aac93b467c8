#include <windows.h>

#include <mutex>
#include <string>

#include "vrx/interrupt.h"

namespace vimbrel::vrx {

namespace {

// The console control handler runs on a thread of its own; this lock keeps it from
// removing the output while the main thread moves it into place. The main thread may
// take it again inside InterruptsHeld.
std::recursive_mutex lock;
std::string partName;
bool interrupted = false;
TerminalRestore terminalRestore = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    interrupted = true;
    // The file was created to allow this while it is still open; it goes when closed.
    if (!partName.empty()) ::DeleteFileA(partName.c_str());
    if (terminalRestore) terminalRestore();
    return FALSE;  // the next handler, the system's, ends the process
}

}  // namespace

void InstallInterruptHandlers() { ::SetConsoleCtrlHandler(OnConsoleControl, TRUE); }

void RemoveOnInterrupt(const std::string& path) {
    InterruptsHeld held;
    partName = path;
}

void RestoreTerminalOnInterrupt(TerminalRestore restore) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    terminalRestore = restore;
}

InterruptsHeld::InterruptsHeld() {
    lock.lock();
    if (interrupted) {
        // The process is being ended; nothing more may happen to the files.
        lock.unlock();
        for (;;) ::Sleep(INFINITE);
    }
}

InterruptsHeld::~InterruptsHeld() { lock.unlock(); }

}  // namespace vimbrel::vrx
