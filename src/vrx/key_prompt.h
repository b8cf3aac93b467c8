#pragma once
// Reads a key text from the terminal with echo switched off.
#include <iosfwd>
#include <optional>
#include <string>

namespace vimbrel::vrx {

// Prompts on `err`; with `confirm` asks twice and refuses a mismatch. Nothing when there
// is no terminal or the input ended.
std::optional<std::string> ReadKeyFromTerminal(bool confirm, std::ostream& err);

}  // namespace vimbrel::vrx
