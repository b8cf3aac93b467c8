#include "vrx/interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace vimbrel::vrx {

namespace {

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Read by the handler, so plain storage and atomics only.
char partName[PATH_MAX + 1];
volatile sig_atomic_t partArmed = 0;
std::atomic<TerminalRestore> terminalRestore{nullptr};

sigset_t InterruptSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    return set;
}

extern "C" void OnInterrupt(int signal) {
    if (partArmed) ::unlink(partName);
    if (TerminalRestore restore = terminalRestore.load()) restore();
    // End as the signal would have ended us, so the shell sees an interruption.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

void InstallInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_mask = InterruptSignals();
    for (int s : kSignals) {
        struct sigaction old {};
        // A signal ignored by whoever started us stays ignored.
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(s, &action, nullptr);
    }
}

void RemoveOnInterrupt(const std::string& path) {
    partArmed = 0;
    if (path.empty() || path.size() > PATH_MAX) return;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(partName, path.c_str(), path.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    partArmed = 1;
}

void RestoreTerminalOnInterrupt(TerminalRestore restore) { terminalRestore.store(restore); }

InterruptsHeld::InterruptsHeld() {
    const sigset_t set = InterruptSignals();
    ::sigprocmask(SIG_BLOCK, &set, nullptr);
}

InterruptsHeld::~InterruptsHeld() {
    const sigset_t set = InterruptSignals();
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace vimbrel::vrx
