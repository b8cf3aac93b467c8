#pragma once
// TEmailSend's rules, apart from its window: the recipients' texts, the attachment list and
// its items, the encryption choices, and the send itself with its statuses. The window
// mirrors the state after every event and answers what TEmailSend asks of it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/des.h"
#include "workspace/file_kinds.h"
#include "crypto/key_text.h"
#include "mail/email.h"
#include "util/busy_cursor.h"
#include "util/file_system_port.h"

namespace vimbrel {

inline constexpr const char* kSendEmailCaption = " -- Send Email";  // after the program's name
inline constexpr const char* kEncryptingStatus = "Encrypting Attachments";
inline constexpr const char* kPreparingStatus = "Preparing message";
inline constexpr const char* kSendingStatus = "Sending message";
inline constexpr const char* kCancelledStatus = "Cancelled";
inline constexpr const char* kMapiLogonFailed = "MAPI Logon failed.";
inline constexpr const char* kMapiSendmailFailed = "MAPI Sendmail failed.";
inline constexpr const char* kMapiNotConfigured =
    "Your system is not configured for MAPI Mail.\r\nMAPI mail is required for Vimbrel Send Mail";
inline constexpr const char* kAttachmentFilter = "All Files (*.*)|*.*";
// The separator between an attachment's path and its size in the list: the no-break space
// U+00A0, in UTF-8 like every text of the program. (A lone 0xA0 byte is no character in
// UTF-8, and is the second byte of "\xC3\xA0" and others in a path.)
inline constexpr std::string_view kItemSeparator = "\xC2\xA0";

// Parts of Text between ";" characters, trimmed of blanks, empty parts skipped. Commas do
// not separate.
void SplitAddresses(std::string_view Text, std::vector<std::string>& List);
std::string JoinAddresses(const std::vector<std::string>& List);

// The locale's separators for "%.1n".
struct NumberFormat {
    std::string thousands = ",";
    std::string decimal = ".";
};
// One decimal with thousands separators: 1234.56 gives "1,234.6".
std::string FormatOneDecimal(double value, const NumberFormat& format);
// "C:\a.bmp" NBSP "   (" size in kb " kb)"; an unknown size shows as 0.
std::string AttachmentItemText(const std::string& path, std::optional<std::uint64_t> size,
                               const NumberFormat& format);
// The path of an item: its text before the first NBSP.
std::string ItemPath(std::string_view item);

// Whether a file is sent enciphered: with Encrypt All every file not already one of ours
// (".vrx", ".vrs"), with Encrypt Images alone every picture kind mail takes.
bool ShouldEncipher(std::string_view path, bool encryptAll, bool encryptImages);
// Where its enciphered copy is made: the work folder, its file name plus the format's
// extension (".vrx", ".vrs"). Further copies of the same file name in one run (n from 2) go
// into the work folder's subfolder n, so no copy replaces another and each keeps its name.
std::string EncipheredCopyPath(const std::string& workFolder, std::string_view path, int instance = 1,
                               FileCipher cipher = FileCipher::Des);

// The dialog window as TEmailSend drives it.
class EmailSendWindow {
public:
    virtual ~EmailSendWindow() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual bool LetPendingMessagesRun() = 0;
    // Ends the dialog; `cancelled` for Cancel.
    virtual void Close(bool cancelled) = 0;
    // TdlgGetKey over the dialog.
    virtual std::optional<KeyText> AskKey() = 0;
    // An open dialog for an existing file.
    virtual std::optional<std::string> AskAttachment(const std::string& folder) = 0;
    // Warning icon, program title.
    virtual void Warning(const std::string& text) = 0;
    virtual void ErrorBox(const std::string& text) = 0;
};

// The controls' state, as the window shows it.
struct EmailSendControls {
    std::string to, cc, bcc, subject, body;
    bool encryptAll = false, encryptImages = false;
    bool encryptImagesEnabled = true, encryptImagesShown = false;
    bool sendEnabled = false, removeEnabled = false;
    std::vector<std::string> attachments;  // item texts
    int selected = -1;
    std::string status;
};

class TEmailSend {
public:
    TEmailSend(TEmail& email, FileSystemPort& files, CursorPort& cursor, std::string workFolder, NumberFormat format);
    TEmailSend(const TEmailSend&) = delete;
    TEmailSend& operator=(const TEmailSend&) = delete;

    EmailSendControls controls;
    // The format the attachments are enciphered in ("Cipher").
    FileCipher cipher = FileCipher::Des;
    bool Sending() const { return sending_; }

    // The window exists: logs on when Simple MAPI is there.
    void FormCreate(EmailSendWindow& window);
    void AddAttachment(const std::string& Path);
    void txtEmailToChange() { controls.sendEnabled = !controls.to.empty(); }
    void chkEncAllClick() { controls.encryptImagesEnabled = !controls.encryptAll; }
    void btnAddClick();
    void btnRemoveClick();
    void btnToClick();
    void btnCancelClick();
    void btnSendClick();

private:
    void SetStatus(const std::string& text);
    void SendEmail(const KeyText* key);
    std::string FreeCopyPath(std::string_view path);

    TEmail& email_;
    FileSystemPort& files_;
    CursorPort& cursor_;
    std::string workFolder_;
    NumberFormat format_;
    TDES des_;
    EmailSendWindow* window_ = nullptr;
    std::string lastFolder_;
    bool sending_ = false;
};

}  // namespace vimbrel
