#pragma once
// What Ctrl+C or a request to terminate must undo before vrx ends: the partial output file
// (which holds plain text while deciphering) and a terminal left without echo.
#include <string>

namespace vimbrel::vrx {

// Once, at start: on interruption the handlers remove the file named by RemoveOnInterrupt,
// call the terminal restore, and let the process end as interrupted.
void InstallInterruptHandlers();

// The file an interruption removes (one at a time); an empty name removes none.
void RemoveOnInterrupt(const std::string& path);

// Called on interruption; must only make calls that are safe in a signal handler.
using TerminalRestore = void (*)();
void RestoreTerminalOnInterrupt(TerminalRestore restore);

// Holds interruptions off while it lives, so that a step and the bookkeeping of it (moving
// the output into place, forgetting its partial name) happen together or not at all.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};

}  // namespace vimbrel::vrx
