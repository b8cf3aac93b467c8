#include "mail/email_send.h"

#include <cmath>
#include <cstdio>

#include "crypto/enciphered_file.h"
#include "util/text.h"
#include "workspace/file_kinds.h"
#include "workspace/path_parts.h"

namespace vimbrel {
namespace {

constexpr std::size_t kMaxSubject = 255;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The enciphered copies of a send that fails before it reaches the mail library: nobody
// will read them. Once handed over they stay, for a mail program may read its attachments
// after SendMail has returned; the work folder is emptied at exit.
class UnsentCopies {
public:
    explicit UnsentCopies(FileSystemPort& files) : files_(files) {}
    ~UnsentCopies() {
        for (const std::string& path : paths_)
            if (files_.FileExists(path)) files_.RemoveFile(path);
    }
    UnsentCopies(const UnsentCopies&) = delete;
    UnsentCopies& operator=(const UnsentCopies&) = delete;
    void Add(const std::string& path) { paths_.push_back(path); }
    void HandedOver() { paths_.clear(); }

private:
    FileSystemPort& files_;
    std::vector<std::string> paths_;
};

}  // namespace

void SplitAddresses(std::string_view Text, std::vector<std::string>& List) {
    List.clear();
    while (true) {
        const std::size_t end = Text.find(';');
        const std::string_view part = TrimBlanks(Text.substr(0, end));
        if (!part.empty()) List.emplace_back(part);
        if (end == std::string_view::npos) break;
        Text.remove_prefix(end + 1);
    }
}

std::string JoinAddresses(const std::vector<std::string>& List) {
    std::string text;
    for (std::size_t i = 0; i < List.size(); ++i) text += (i ? ";" : "") + List[i];
    return text;
}

std::string FormatOneDecimal(double value, const NumberFormat& format) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.1f", std::fabs(value));
    std::string text = digits;
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    for (int at = int(whole.size()) - 3; at > 0; at -= 3) whole.insert(std::size_t(at), format.thousands);
    const std::string sign = value < 0 && text != "0.0" ? "-" : "";
    return sign + whole + format.decimal + text.substr(point + 1);
}

std::string AttachmentItemText(const std::string& path, std::optional<std::uint64_t> size,
                               const NumberFormat& format) {
    const double kb = size ? double(*size) / 1024.0 : 0.0;
    return path + std::string(kItemSeparator) + "   (" + FormatOneDecimal(kb, format) + " kb)";
}

std::string ItemPath(std::string_view item) { return std::string(item.substr(0, item.find(kItemSeparator))); }

bool ShouldEncipher(std::string_view path, bool encryptAll, bool encryptImages) {
    // Our own enciphered files go as they are; the older forms are enciphered again.
    if (encryptAll) return !IsOwnEncipheredName(path);
    return encryptImages && IsMailedAsImage(path);
}

std::string EncipheredCopyPath(const std::string& workFolder, std::string_view path, int instance,
                               FileCipher cipher) {
    const std::string folder = instance > 1 ? AddBackslash(workFolder + std::to_string(instance)) : workFolder;
    return folder + EncipheredCopyName(ExtractFileName(path), cipher);
}

TEmailSend::TEmailSend(TEmail& email, FileSystemPort& files, CursorPort& cursor, std::string workFolder,
                       NumberFormat format)
    : email_(email), files_(files), cursor_(cursor), workFolder_(std::move(workFolder)), format_(std::move(format)) {}

void TEmailSend::FormCreate(EmailSendWindow& window) {
    window_ = &window;
    sending_ = false;
    des_.CipherMode = TCipherMode::ECB;
    if (email_.MapiAvail() && email_.Logon() != mapi::SUCCESS_SUCCESS) {
        cursor_.ShowBusyCursor(false);
        window.ErrorBox(kMapiLogonFailed);
    }
}

void TEmailSend::AddAttachment(const std::string& Path) {
    controls.attachments.push_back(AttachmentItemText(Path, files_.FileSize(Path), format_));
    controls.selected = int(controls.attachments.size()) - 1;
    lastFolder_ = ExtractFilePath(Path);
    controls.removeEnabled = true;
}

void TEmailSend::btnAddClick() {
    if (std::optional<std::string> path = window_->AskAttachment(lastFolder_)) AddAttachment(*path);
}

void TEmailSend::btnRemoveClick() {
    auto& items = controls.attachments;
    if (controls.selected < 0 || controls.selected >= int(items.size())) return;
    items.erase(items.begin() + controls.selected);
    controls.removeEnabled = !items.empty();
    controls.selected = items.empty() ? -1 : 0;
}

void TEmailSend::btnToClick() {
    SplitAddresses(controls.to, email_.Recipient);
    SplitAddresses(controls.cc, email_.CC);
    SplitAddresses(controls.bcc, email_.Bcc);
    email_.Address();  // whatever it answers, the edits show the lists as they are now
    controls.to = JoinAddresses(email_.Recipient);
    controls.cc = JoinAddresses(email_.CC);
    controls.bcc = JoinAddresses(email_.Bcc);
    txtEmailToChange();
}

void TEmailSend::btnCancelClick() {
    if (sending_) {
        SetStatus(kCancelledStatus);
        sending_ = false;
        return;
    }
    window_->Close(true);
}

void TEmailSend::btnSendClick() {
    std::optional<KeyText> key;
    if (controls.encryptAll || controls.encryptImages) {
        key = window_->AskKey();
        if (!key || key->Size() == 0) return;
    }
    controls.sendEnabled = false;
    sending_ = true;
    SetStatus("");
    if (!window_->LetPendingMessagesRun()) return;
    SendEmail(key ? &*key : nullptr);
}

void TEmailSend::SetStatus(const std::string& text) {
    controls.status = text;
    window_->SetStatus(text);
}

// Copies of this send and of earlier ones in this run may still be read: a name taken in the
// work folder goes into its next free numbered subfolder.
std::string TEmailSend::FreeCopyPath(std::string_view path) {
    for (int instance = 1;; ++instance) {
        const std::string out = EncipheredCopyPath(workFolder_, path, instance, cipher);
        if (files_.FileExists(out)) continue;
        if (instance > 1) files_.CreateFolderPath(workFolder_ + std::to_string(instance));
        return out;
    }
}

void TEmailSend::SendEmail(const KeyText* key) {
    BusyCursor busy(cursor_);
    const bool encipher = controls.encryptAll || controls.encryptImages;
    std::vector<std::string> toAttach;
    UnsentCopies copies(files_);
    if (!controls.attachments.empty() && encipher) {
        SetStatus(kEncryptingStatus);
        des_.CipherMode = TCipherMode::CBC;
    }
    for (const std::string& item : controls.attachments) {
        const std::string path = ItemPath(item);
        if (path.empty()) continue;
        if (key && ShouldEncipher(path, controls.encryptAll, controls.encryptImages)) {
            const std::string out = FreeCopyPath(path);
            copies.Add(out);
            EncipherFile(des_, cipher, key->View(), path, out);
            toAttach.push_back(out);
        } else {
            toAttach.push_back(path);
        }
    }

    SetStatus(kPreparingStatus);
    SplitAddresses(controls.to, email_.Recipient);
    SplitAddresses(controls.cc, email_.CC);
    SplitAddresses(controls.bcc, email_.Bcc);
    email_.SetLongText(controls.body);
    email_.SetSubject(controls.subject.substr(0, kMaxSubject));
    for (const std::string& path : toAttach) email_.Attachment.push_back(path);

    SetStatus(kSendingStatus);
    copies.HandedOver();
    if (email_.SendMail() != mapi::SUCCESS_SUCCESS) window_->Warning(kMapiSendmailFailed);
    window_->LetPendingMessagesRun();
    window_->Close(false);
}

}  // namespace vimbrel
