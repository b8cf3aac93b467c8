#pragma once
// This process's committed private memory (PrivateUsage), for the debug lines that say what
// loading a piece costs.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>

#include "workspace/step_trace.h"

namespace vimbrel::win32 {

inline std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::K32GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof counters))
        return 0;
    // Wine may leave PrivateUsage 0 and fill PagefileUsage, the same figure on Windows.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// What loading a piece on first use cost: time and private memory, from construction to
// Log, which sends "NAME: loaded in 1.2 ms, private memory +345 KB" at debug level.
class LoadCost {
public:
    LoadCost() : on_(DebugLogOn()) {
        if (on_) {
            bytes_ = PrivateBytes();
            start_ = std::chrono::steady_clock::now();
        }
    }
    void Log(const char* name) const {
        if (!on_) return;
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
        char line[160];
        std::snprintf(line, sizeof line, "%s: loaded in %.1f ms, private memory %+lld KB", name, ms,
                      (long long)(PrivateBytes()) / 1024 - (long long)(bytes_) / 1024);
        LogDebug(line);
    }

private:
    bool on_;
    std::size_t bytes_ = 0;
    std::chrono::steady_clock::time_point start_;
};

// Private memory step by step, for the start: "NAME: at start 2100 KB, step +300 KB, ...",
// sent at debug level when the trace ends. Nothing is measured without a debug sink.
class MemoryTrace {
public:
    explicit MemoryTrace(std::string name) : name_(std::move(name)), on_(DebugLogOn()) {
        if (on_) {
            last_ = PrivateBytes();
            line_ = name_ + ": at start " + std::to_string(last_ / 1024) + " KB";
        }
    }
    ~MemoryTrace() { Flush(); }
    // Sends the line now; later steps start a line of their own.
    void Flush() {
        if (on_ && !line_.empty()) LogDebug(line_);
        line_.clear();
    }
    MemoryTrace(const MemoryTrace&) = delete;
    MemoryTrace& operator=(const MemoryTrace&) = delete;
    void Step(const char* what) {
        if (!on_) return;
        const std::size_t now = PrivateBytes();
        char part[96];
        std::snprintf(part, sizeof part, ", %s %+lld", what, (long long)(now / 1024) - (long long)(last_ / 1024));
        if (line_.empty()) line_ = name_ + ": later";
        line_ += part;
        last_ = now;
    }

private:
    std::string name_;
    bool on_;
    std::size_t last_ = 0;
    std::string line_;
};

}  // namespace vimbrel::win32
