// vrx interrupted as a user's Ctrl+C or a shutdown would: during the work no partial file
// stays behind (a decipher's holds plain text), and at the key prompt the terminal gets its
// echo back.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "test_files.h"

namespace vimbrel {
namespace {

namespace fs = std::filesystem;
using testing::Pattern;
using testing::ReadBytes;
using testing::WriteBytes;

// Large enough that the work is still under way when the partial file shows up.
constexpr std::size_t kInputSize = std::size_t(48) << 20;

// Starts vrx with standard input from `input` (a file, or a terminal's descriptor).
pid_t StartVrx(const std::vector<std::string>& args, int input, bool ownTerminal = false) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (ownTerminal) {
        setsid();
        ioctl(input, TIOCSCTTY, 0);
        dup2(input, STDOUT_FILENO);
        dup2(input, STDERR_FILENO);
    } else {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
    }
    dup2(input, STDIN_FILENO);
    std::vector<char*> argv{const_cast<char*>(VRX_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(VRX_PATH, argv.data());
    _exit(127);
}

// The signal that ended the process, or -1 when it exited.
int EndingSignal(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -2;
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

bool WaitFor(const std::function<bool()>& ready) {
    for (int i = 0; i < 1000; ++i) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::vector<std::string> Files(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(VrxInterrupted, WorkLeavesNoPartialFile) {
    testing::ScratchFolder dir{"vimbrel-crypto"};
    WriteBytes(dir / "key", testing::Bytes{'c', 'o', 'r', 'r', 'e', 'c', 't', ' ', 'h', 'o', 'r', 's', 'e', '\n'});
    WriteBytes(dir / "big.bin", Pattern(kInputSize, 5));
    const int key = open((dir / "key").c_str(), O_RDONLY);
    ASSERT_GE(key, 0);
    ASSERT_EQ(EndingSignal(StartVrx({"encrypt", dir / "big.bin", "-o", dir / "whole.vrx", "--key-stdin"}, key)), -1);

    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* part;
        int signal;
    } cases[] = {
        {"encrypt, Ctrl+C", {"encrypt", dir / "big.bin", "--key-stdin"}, "big.bin.VRX.vrx-part", SIGINT},
        {"decrypt, Ctrl+C", {"decrypt", dir / "whole.vrx", "-o", dir / "plain.bin", "--key-stdin"}, "plain.bin.vrx-part", SIGINT},
        {"decrypt, terminated", {"decrypt", dir / "whole.vrx", "-o", dir / "plain.bin", "--key-stdin"}, "plain.bin.vrx-part", SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lseek(key, 0, SEEK_SET);
        const pid_t vrx = StartVrx(c.args, key);
        // Interrupted while the partial file is being written.
        const bool started = WaitFor([&] { return fs::exists(dir / c.part); });
        kill(vrx, c.signal);
        EXPECT_EQ(EndingSignal(vrx), c.signal);
        EXPECT_TRUE(started);
        EXPECT_EQ(Files(dir.path()), (std::vector<std::string>{"big.bin", "key", "whole.vrx"}));
    }
    close(key);
}

bool Echoes(int terminal) {
    termios t{};
    tcgetattr(terminal, &t);
    return (t.c_lflag & ECHO) != 0;
}

TEST(VrxInterrupted, KeyPromptGivesTheEchoBack) {
    testing::ScratchFolder dir{"vimbrel-crypto"};
    WriteBytes(dir / "a.txt", Pattern(10));
    int master = -1, terminal = -1;
    ASSERT_EQ(openpty(&master, &terminal, nullptr, nullptr, nullptr), 0);
    ASSERT_TRUE(Echoes(terminal));
    const pid_t vrx = StartVrx({"encrypt", dir / "a.txt"}, terminal, true);

    std::string shown;
    const bool prompted = WaitFor([&] {
        pollfd p{master, POLLIN, 0};
        char buffer[256];
        if (poll(&p, 1, 0) == 1) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0) shown.append(buffer, std::size_t(n));
        }
        return shown.find("Key: ") != std::string::npos && !Echoes(terminal);
    });
    EXPECT_TRUE(prompted) << shown;
    kill(vrx, SIGINT);
    EXPECT_EQ(EndingSignal(vrx), SIGINT);
    EXPECT_TRUE(Echoes(terminal));
    EXPECT_EQ(Files(dir.path()), std::vector<std::string>{"a.txt"});
    close(master);
    close(terminal);
}

}  // namespace
}  // namespace vimbrel
