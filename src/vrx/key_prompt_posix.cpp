#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

namespace vimbrel::vrx {

namespace {

// Restores the terminal's echo on every way out.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        ok_ = tcgetattr(fd_, &saved_) == 0;
        if (!ok_) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ok_ = tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (ok_) tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    bool ok() const { return ok_; }

private:
    int fd_;
    termios saved_{};
    bool ok_ = false;
};

}  // namespace

std::optional<std::string> ReadHiddenLine(const char* prompt, std::ostream& err) {
    if (!isatty(STDIN_FILENO)) {
        err << "vrx: standard input is not a terminal; use --key-stdin to pass the key there\n";
        return std::nullopt;
    }
    err << prompt << std::flush;
    EchoOff echoOff(STDIN_FILENO);
    if (!echoOff.ok()) {
        err << "\nvrx: cannot switch off the terminal's echo\n";
        return std::nullopt;
    }
    std::string line;
    for (int c; (c = std::getchar()) != EOF;) {
        if (c == '\n') return line;
        line.push_back(static_cast<char>(c));
    }
    err << "\nvrx: no key given\n";
    return std::nullopt;
}

}  // namespace vimbrel::vrx
