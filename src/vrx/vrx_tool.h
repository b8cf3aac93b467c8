#pragma once
// The vrx command: enciphers and deciphers files in the program's encrypted-file format,
// so they can be opened on any machine.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "workspace/file_kinds.h"

namespace vimbrel::vrx {

enum class Command { Help, Version, Encrypt, Decrypt, Info };

struct Options {
    Command command = Command::Help;
    std::string input;
    std::string output;  // empty: derived from the input name
    bool force = false;
    bool keyStdin = false;
    FileCipher cipher = FileCipher::Des;  // what encrypt writes
};

// Throws std::invalid_argument with a message for the user on bad arguments.
Options ParseArguments(const std::vector<std::string>& args);

// Where the key comes from: asked for once (decrypt) or with confirmation (encrypt).
// Returns nothing when no key could be read; the reason goes to `err`.
using KeySource = std::function<std::optional<std::string>(bool confirm, std::ostream& err)>;

// Runs one command; returns the process exit code (0 success, 1 failure, 2 usage).
int Run(const std::vector<std::string>& args, const KeySource& terminalKey, std::istream& in,
        std::ostream& out, std::ostream& err);

extern const char* const HelpText;
// The program's version, as its version resource and the packages name it.
extern const char* const VersionText;

}  // namespace vimbrel::vrx
