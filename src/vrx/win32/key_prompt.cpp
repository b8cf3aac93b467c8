#include <windows.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "vrx/interrupt.h"

namespace vimbrel::vrx {

namespace {

// The console and its mode before the prompt, for the Ctrl+C handler too: a console's
// mode outlives the process that changed it.
HANDLE console = nullptr;
DWORD savedMode = 0;

void RestoreSaved() { SetConsoleMode(console, savedMode); }

// Restores the console's echo on every way out, Ctrl+C included.
class EchoOff {
public:
    explicit EchoOff(HANDLE input) {
        console = input;
        ok_ = GetConsoleMode(console, &savedMode) != 0;
        if (!ok_) return;
        RestoreTerminalOnInterrupt(RestoreSaved);
        ok_ = SetConsoleMode(console, savedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
    }
    ~EchoOff() {
        if (ok_) RestoreSaved();
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
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode)) {
        err << "vrx: standard input is not a console; use --key-stdin to pass the key there\n";
        return std::nullopt;
    }
    err << prompt << std::flush;
    EchoOff echoOff(input);
    if (!echoOff.ok()) {
        err << "\nvrx: cannot switch off the console's echo\n";
        return std::nullopt;
    }
    std::string line;
    line.reserve(1024);  // grown in place, so no copy of the key is left in freed memory
    for (;;) {
        char c = 0;
        DWORD got = 0;
        if (!ReadConsoleA(input, &c, 1, &got, nullptr) || got == 0) break;
        if (c == '\n') {
            err << "\n";
            return line;
        }
        if (c != '\r') line.push_back(c);
    }
    err << "\nvrx: no key given\n";
    return std::nullopt;
}

}  // namespace vimbrel::vrx
