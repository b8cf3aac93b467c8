#include <windows.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

namespace vimbrel::vrx {

namespace {

// Restores the console's echo on every way out.
class EchoOff {
public:
    explicit EchoOff(HANDLE console) : console_(console) {
        ok_ = GetConsoleMode(console_, &saved_) != 0 &&
              SetConsoleMode(console_, saved_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
    }
    ~EchoOff() {
        if (ok_) SetConsoleMode(console_, saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool ok() const { return ok_; }

private:
    HANDLE console_;
    DWORD saved_ = 0;
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
