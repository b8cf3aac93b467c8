#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "vrx/interrupt.h"

namespace vimbrel::vrx {

namespace {

// The terminal's state before the prompt, for the interruption handler too.
termios saved;

void RestoreSaved() { tcsetattr(STDIN_FILENO, TCSANOW, &saved); }

// Restores the terminal's echo on every way out, Ctrl+C included.
class EchoOff {
public:
    EchoOff() {
        ok_ = tcgetattr(STDIN_FILENO, &saved) == 0;
        if (!ok_) return;
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        RestoreTerminalOnInterrupt(RestoreSaved);
        ok_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (ok_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        RestoreTerminalOnInterrupt(nullptr);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

}  // namespace

std::optional<std::string> ReadHiddenLine(const char* prompt, std::ostream& err) {
    if (!isatty(STDIN_FILENO)) {
        err << "vrx: standard input is not a terminal; use --key-stdin to pass the key there\n";
        return std::nullopt;
    }
    err << prompt << std::flush;
    EchoOff echoOff;
    if (!echoOff.ok()) {
        err << "\nvrx: cannot switch off the terminal's echo\n";
        return std::nullopt;
    }
    std::string line;
    line.reserve(1024);  // grown in place, so no copy of the key is left in freed memory
    for (int c; (c = std::getchar()) != EOF;) {
        if (c == '\n') return line;
        line.push_back(static_cast<char>(c));
    }
    err << "\nvrx: no key given\n";
    return std::nullopt;
}

}  // namespace vimbrel::vrx
