#pragma once
// The Encryption menu: the current picture saved encrypted, any file encrypted beside
// itself, an encrypted file opened, and the deciphering every open of an encrypted name
// goes through. Files are written in the format "Cipher" chooses and read in the one they
// hold. The DES key is burned and the strong key wiped on every way out, and the key text
// lives only for its command.
#include <optional>
#include <string>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "workspace/image_file_commands.h"
#include "crypto/des.h"
#include "crypto/key_text.h"

namespace vimbrel {

inline constexpr const char* kUnableToDecrypt = "Unable to Decrypt the File";
inline constexpr const char* kEncryptFileTitle = "Select File to Encrypt";
inline constexpr const char* kEncryptFileFilter = "All Files (*.*)|*.*";
inline constexpr const char* kOpenEncryptedTitle = "Select VRL Encrypted file to open";

// The questions this group asks.
class EncryptionDialogs {
public:
    virtual ~EncryptionDialogs() = default;
    // TdlgGetKey: the key on OK, nothing on Cancel. `note` replaces the three-line note.
    virtual std::optional<KeyText> GetKeyText(const std::optional<std::string>& note) = 0;
    // An open dialog with its own title for a file that must exist; read-only box hidden.
    virtual std::optional<std::string> AskExistingFile(const std::string& title, const std::string& filter,
                                                       const std::string& folder) = 0;
};

class EncryptionCommands final : public Decipherer {
public:
    // `files` writes the picture and opens files, and opens encrypted ones through this
    // group from now on; `workFolder` (with its separator) is where files are deciphered to.
    EncryptionCommands(const CommandDeps& deps, EncryptionDialogs& ui, ImageFileCommands& files,
                       std::string workFolder);
    EncryptionCommands(const EncryptionCommands&) = delete;
    EncryptionCommands& operator=(const EncryptionCommands&) = delete;

    void BindTo(CommandRouter& router);

    void mnuSaveEncryptedClick();
    void EncryptaFile1Click();
    void OpenanEncryptedFile1Click();

    std::optional<std::string> DecipherForOpen(const std::string& FileName) override;

private:
    CommandDeps deps_;
    EncryptionDialogs& ui_;
    ImageFileCommands& files_;
    std::string workFolder_;
    TDES des_;
};

}  // namespace vimbrel
