#include "crypto/encryption_commands.h"

#include <exception>

#include "crypto/enciphered_file.h"
#include "crypto/encrypted_names.h"
#include "workspace/file_kinds.h"
#include "workspace/file_names.h"
#include "workspace/path_parts.h"

namespace vimbrel {

EncryptionCommands::EncryptionCommands(const CommandDeps& deps, EncryptionDialogs& ui, ImageFileCommands& files,
                                       std::string workFolder)
    : deps_(deps), ui_(ui), files_(files), workFolder_(std::move(workFolder)) {
    des_.CipherMode = TCipherMode::CBC;
    files_.DecipherWith(*this);
}

void EncryptionCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::SaveEncrypted, [this] { mnuSaveEncryptedClick(); });
    router.Bind(handler::EncryptFile, [this] { EncryptaFile1Click(); });
    router.Bind(handler::OpenEncrypted, [this] { OpenanEncryptedFile1Click(); });
}

void EncryptionCommands::mnuSaveEncryptedClick() {
    std::optional<KeyText> key = ui_.GetKeyText(std::nullopt);
    if (!key) return;
    const FileCipher cipher = deps_.flags.Cipher;
    auto choice = deps_.dialogs.AskSaveFile(SaveEncryptedFilter(cipher), deps_.flags.SavePath, 1);
    if (!choice) return;
    BusyCursor busy(deps_.cursor);
    const std::string name = EncryptedSaveName(choice->path, choice->filterIndex, cipher);
    if (deps_.files.FileExists(name) && !deps_.dialogs.Confirm(OverwriteQuestion(name))) return;
    // The picture in plain must not outlive the command, whether enciphering worked or not.
    const std::string plain = PlainTemporaryPath(deps_.shell.TempFolder(), name);
    FileRemover removePlain(deps_.files, plain);
    files_.WriteImageFile(plain, true, false);
    EncipherFile(des_, cipher, key->View(), plain, name);
}

void EncryptionCommands::EncryptaFile1Click() {
    std::optional<KeyText> key = ui_.GetKeyText(std::nullopt);
    if (!key) return;
    auto file = ui_.AskExistingFile(kEncryptFileTitle, kEncryptFileFilter, "");
    if (!file) return;
    BusyCursor busy(deps_.cursor);
    EncipherFile(des_, deps_.flags.Cipher, key->View(), *file, EncryptedFileName(*file, deps_.flags.Cipher));
}

void EncryptionCommands::OpenanEncryptedFile1Click() {
    auto file = ui_.AskExistingFile(kOpenEncryptedTitle, OpenEncryptedFilter(), deps_.flags.OpenPath);
    if (file) files_.OpenFileByPath(*file);
}

std::optional<std::string> EncryptionCommands::DecipherForOpen(const std::string& FileName) {
    std::optional<KeyText> key = ui_.GetKeyText(DecipherKeyNote(ExtractFileName(FileName)));
    if (!key) return std::nullopt;
    const std::string plain = DecipheredPath(workFolder_, FileName);
    try {
        if (plain.empty()) throw EFileError("DES: Could not open output file");
        if (deps_.files.FileExists(plain)) deps_.files.RemoveFile(plain);
        // Whichever format the file holds, whatever the setting.
        DecipherFile(des_, key->View(), FileName, plain);
    } catch (const std::exception&) {
        // A wrong key fails here (a strong file always, a DES file mostly), and so does a
        // changed strong file; nothing half or wrongly deciphered stays behind.
        if (!plain.empty() && deps_.files.FileExists(plain)) deps_.files.RemoveFile(plain);
        deps_.cursor.ShowBusyCursor(false);
        deps_.dialogs.Warning(kUnableToDecrypt);
        return std::nullopt;
    }
    return plain;
}

}  // namespace vimbrel
