#include "workspace/step_trace.h"

#include <cstdio>

namespace vimbrel {

namespace {
DebugSink g_sink = nullptr;

std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}
}  // namespace

void SetDebugSink(DebugSink sink) { g_sink = sink; }
bool DebugLogOn() { return g_sink != nullptr; }
void LogDebug(std::string_view line) {
    if (g_sink) g_sink(line);
}

StepTrace::StepTrace(std::string name) : name_(std::move(name)), on_(DebugLogOn()) {
    if (on_) start_ = last_ = Clock::now();
}

StepTrace::~StepTrace() { Flush(); }

void StepTrace::Flush() {
    if (on_ && !steps_.empty()) LogDebug(Line());
    steps_.clear();
}

void StepTrace::Step(std::string_view what) {
    if (!on_) return;
    const Clock::time_point now = Clock::now();
    steps_.emplace_back(std::string(what), std::chrono::duration<double, std::milli>(now - last_).count());
    last_ = now;
}

std::string StepTrace::Line() const {
    std::string line = name_ + ":";
    double total = 0;
    for (const auto& [what, ms] : steps_) {
        line += " " + what + " " + Ms(ms) + ",";
        total += ms;
    }
    return line + " total " + Ms(total);
}

}  // namespace vimbrel
