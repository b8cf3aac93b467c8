#pragma once
// A step trace, such as the capture's: how long each step of a capture took (the grab, the copy into
// the current image, the write, rendering the shown image, the status and menu updates),
// sent as one diagnostic line at debug level once the capture has ended, so that sending
// it costs the capture nothing. Without a debug sink (no log viewer runs) a trace takes no
// time stamps and sends nothing.
#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vimbrel {

// Where debug-level lines go; the program sets it when a log viewer runs.
using DebugSink = void (*)(std::string_view line);
void SetDebugSink(DebugSink sink);
bool DebugLogOn();
void LogDebug(std::string_view line);

class StepTrace {
public:
    using Clock = std::chrono::steady_clock;
    // name opens the line ("capture full screen").
    explicit StepTrace(std::string name);
    ~StepTrace();
    StepTrace(const StepTrace&) = delete;
    StepTrace& operator=(const StepTrace&) = delete;

    bool On() const { return on_; }
    // The step that ended now, timed from the end of the one before (or the start).
    void Step(std::string_view what);
    // Sends the line now (when there are steps) and starts again with none.
    void Flush();
    // "name: step 1.2 ms, step 0.3 ms, total 1.5 ms"
    std::string Line() const;

private:
    std::string name_;
    bool on_;
    Clock::time_point start_, last_;
    std::vector<std::pair<std::string, double>> steps_;
};

}  // namespace vimbrel
