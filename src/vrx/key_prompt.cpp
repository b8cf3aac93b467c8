#include "vrx/key_prompt.h"

#include <ostream>

namespace vimbrel::vrx {

// One line typed without echo; the platform files define it.
std::optional<std::string> ReadHiddenLine(const char* prompt, std::ostream& err);

std::optional<std::string> ReadKeyFromTerminal(bool confirm, std::ostream& err) {
    auto key = ReadHiddenLine("Key: ", err);
    if (!key || !confirm) return key;
    // A mistyped key would make the file unreadable for good, so it is typed twice.
    auto again = ReadHiddenLine("Key again: ", err);
    if (!again) return std::nullopt;
    if (*again != *key) {
        err << "vrx: the two keys differ\n";
        return std::nullopt;
    }
    return key;
}

}  // namespace vimbrel::vrx
