#pragma once
// The Encryption menu's questions on Windows: the key dialog TdlgGetKey and the titled
// open dialogs.
#include <windows.h>

#include <optional>
#include <string>

#include "crypto/encryption_commands.h"
#include "commands/win32/dialogs.h"

namespace vimbrel::win32 {

// TdlgGetKey, modal, centred: the key text on OK, nothing on Cancel or Esc. OK is enabled
// from 8 characters on. `note` replaces the three-line note under the key. Every copy of
// the key the dialog made is wiped before it returns.
std::optional<KeyText> GetKeyText(HWND owner, const std::optional<std::string>& note);

class WinEncryptionDialogs final : public EncryptionDialogs {
public:
    explicit WinEncryptionDialogs(HWND owner) : owner_(owner) {}

    std::optional<KeyText> GetKeyText(const std::optional<std::string>& note) override {
        return win32::GetKeyText(owner_, note);
    }
    std::optional<std::string> AskExistingFile(const std::string& title, const std::string& filter,
                                               const std::string& folder) override {
        return win32::AskExistingFile(owner_, title, filter, folder);
    }

private:
    HWND owner_;
};

}  // namespace vimbrel::win32
