#include "mail/email.h"

#include <cstring>

#include "util/file_system_port.h"
#include "workspace/path_parts.h"

namespace vimbrel {

using namespace mapi;

namespace {

constexpr std::size_t kMaxText = 255;

// Logs off on the way out when the call logged on by itself.
class SessionScope {
public:
    SessionScope(TEmail& email, bool hadSession) : email_(email), hadSession_(hadSession) {}
    ~SessionScope() {
        if (hadSession_ || email_.Session() == 0) return;
        try {
            email_.Logoff();
        } catch (...) {
        }
    }
    SessionScope(const SessionScope&) = delete;
    SessionScope& operator=(const SessionScope&) = delete;

private:
    TEmail& email_;
    bool hadSession_;
};

std::string WithoutFirstBrackets(std::string entry) {
    entry.erase(entry.find('['), 1);
    entry.erase(entry.find(']'), 1);
    return entry;
}

bool HasBrackets(const std::string& text) {
    return text.find('[') != std::string::npos && text.find(']') != std::string::npos;
}

bool HasEitherBracket(const char* text) { return text && (std::strchr(text, '[') || std::strchr(text, ']')); }

// Texts handed to the library: stable copies that live as long as the call's records.
class TextCopies {
public:
    char* Keep(const std::string& text) { return texts_.emplace_back(text).data(); }
    char* KeepOrNone(const std::string& text) { return text.empty() ? nullptr : Keep(text); }

private:
    std::deque<std::string> texts_;
};

}  // namespace

void RecipientArray::Fill(std::size_t index, ULONG recipClass, const std::string& name, const std::string& address,
                          const void* entryId, std::size_t entryIdSize) {
    if (index >= records_.size()) return;
    MapiRecipDesc& r = records_[index];
    r = MapiRecipDesc{};
    r.ulRecipClass = recipClass;
    r.lpszName = Keep(name);
    r.lpszAddress = Keep(address);
    if (entryId && entryIdSize) {
        const auto* bytes = static_cast<const std::uint8_t*>(entryId);
        std::vector<std::uint8_t>& id = entryIds_.emplace_back(bytes, bytes + entryIdSize);
        r.ulEIDSize = ULONG(entryIdSize);
        r.lpEntryID = id.data();
    }
}

char* RecipientArray::Keep(const std::string& text) { return texts_.emplace_back(text).data(); }

TEmail::TEmail(const MapiFunctions* library, const FileQueries& files) : library_(library), files_(files) {}

TEmail::~TEmail() {
    if (session_ == 0) return;
    try {
        Logoff();
    } catch (...) {
    }
}

ULONG TEmail::CountLimitCode(std::size_t recipients, std::size_t files) {
    if (recipients > MaxRecords) return MAPI_E_TOO_MANY_RECIPIENTS;
    if (files > MaxRecords) return MAPI_E_TOO_MANY_FILES;
    return SUCCESS_SUCCESS;
}

void TEmail::SetSubject(const std::string& subject) { subject_ = subject.substr(0, kMaxText); }
void TEmail::SetText(const std::string& text) { text_ = text.substr(0, kMaxText); }

std::size_t TEmail::SetLongText(const std::optional<std::string>& text) {
    text_.clear();
    longText_ = text;
    return longText_ ? longText_->size() : 0;
}

void TEmail::CheckMapi() const {
    if (!MapiAvail()) throw EMapiUnavailable();
}

ULONG TEmail::Logon() {
    CheckMapi();
    if (session_ != 0) return SUCCESS_SUCCESS;
    DoBeforeLogon();
    ULONG code = library_->Logon(0, nullptr, nullptr, LogonFlags, 0, &session_);
    if (code != SUCCESS_SUCCESS) code = library_->Logon(0, nullptr, nullptr, LogonFlags | MAPI_LOGON_UI, 0, &session_);
    if (code != SUCCESS_SUCCESS) {
        // A failed logon leaves no session, whatever the library wrote.
        session_ = 0;
        DoMapiError(code);
    } else {
        DoAfterLogon();
    }
    return code;
}

ULONG TEmail::Logoff() {
    CheckMapi();
    if (session_ == 0) return SUCCESS_SUCCESS;
    DoBeforeLogoff();
    const ULONG code = library_->Logoff(session_, 0, 0, 0);
    session_ = 0;
    DoAfterLogoff();
    return code;
}

ULONG TEmail::ResolveList(std::vector<std::string>& List, ULONG Class, std::size_t& Index,
                          RecipientArray& Recipients) {
    ULONG result = SUCCESS_SUCCESS;
    for (std::string& entry : List) {
        if (entry.empty()) continue;
        std::string name = entry;
        MapiRecipDesc* resolved = nullptr;
        ULONG code = library_->ResolveName(session_, 0, name.data(), 0, 0, &resolved);
        if (code == MAPI_E_AMBIGUOUS_RECIPIENT || code == MAPI_E_UNKNOWN_RECIPIENT) {
            resolved = nullptr;
            code = library_->ResolveName(session_, 0, name.data(), MAPI_DIALOG, 0, &resolved);
        }
        if (code != SUCCESS_SUCCESS || !resolved) {
            result = code != SUCCESS_SUCCESS ? code : MAPI_E_UNKNOWN_RECIPIENT;
            DoMapiError(result);
            continue;
        }
        if (HasBrackets(entry) && !HasEitherBracket(resolved->lpszName)) {
            library_->FreeBuffer(resolved);
            const std::string bare = WithoutFirstBrackets(entry);
            Recipients.Fill(Index, Class, bare, bare, nullptr, 0);
        } else {
            if (resolved->lpszName) entry = resolved->lpszName;
            const std::string address = resolved->lpszAddress ? std::string(resolved->lpszAddress) : entry;
            Recipients.Fill(Index, Class, entry, address, resolved->lpEntryID, resolved->ulEIDSize);
            library_->FreeBuffer(resolved);
        }
        ++Index;
    }
    return result;
}

ULONG TEmail::SendMail() {
    CheckMapi();
    const std::size_t n = Recipient.size() + CC.size() + Bcc.size();
    const std::size_t f = Attachment.size();
    if (ULONG code = CountLimitCode(n, f)) {
        DoMapiError(code);
        return code;
    }
    SessionScope scope(*this, session_ != 0);
    if (Logon() != SUCCESS_SUCCESS) {
        DoMapiError(MAPI_E_LOGIN_FAILURE);
        return MAPI_E_LOGIN_FAILURE;
    }

    MapiMessage message{};
    RecipientArray recips(n);
    std::vector<MapiFileDesc> files(f, MapiFileDesc{});
    TextCopies texts;
    message.lpszSubject = texts.KeepOrNone(subject_);
    message.lpszNoteText = longText_ ? texts.Keep(*longText_) : texts.KeepOrNone(text_);

    std::size_t index = 0;
    ResolveList(Recipient, MAPI_TO, index, recips);
    ResolveList(CC, MAPI_CC, index, recips);
    ResolveList(Bcc, MAPI_BCC, index, recips);
    message.nRecipCount = ULONG(index);
    FLAGS sendFlags = 0;
    if (index == 0) {
        message.lpRecips = nullptr;
        sendFlags = MAPI_DIALOG;  // the compose dialog lets the user add recipients
    } else {
        message.lpRecips = recips.Data();
        sendFlags = ShowDialog ? MAPI_DIALOG : 0;
    }

    // Every attachment is checked before anything is handed over.
    for (std::size_t i = 0; i < f; ++i) {
        const std::string path = Attachment[i].substr(0, kMaxText);
        if (!files_.FileExists(path)) {
            DoMapiError(MAPI_E_ATTACHMENT_NOT_FOUND);
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        }
        MapiFileDesc& file = files[i];
        file.nPosition = 0xFFFFFFFFu;  // the client places the attachment
        file.lpszPathName = texts.Keep(path);
        file.lpszFileName = texts.Keep(ExtractFileName(path));
    }
    message.nFileCount = ULONG(f);
    message.lpFiles = f ? files.data() : nullptr;
    message.flFlags = Acknowledge ? MAPI_RECEIPT_REQUESTED : 0;

    DoBeforeSend();
    const ULONG code = library_->SendMail(session_, 0, &message, sendFlags, 0);
    if (code != SUCCESS_SUCCESS)
        DoMapiError(code);
    else
        DoAfterSend();
    return code;
}

ULONG TEmail::Address() {
    CheckMapi();
    const std::size_t n = Recipient.size() + CC.size() + Bcc.size();
    if (n > MaxRecords) {
        DoMapiError(MAPI_E_TOO_MANY_RECIPIENTS);
        return MAPI_E_TOO_MANY_RECIPIENTS;
    }
    SessionScope scope(*this, session_ != 0);
    if (Logon() != SUCCESS_SUCCESS) return MAPI_E_LOGIN_FAILURE;

    RecipientArray recips(n);
    std::size_t k = 0;
    ResolveList(Recipient, MAPI_TO, k, recips);
    ResolveList(CC, MAPI_CC, k, recips);
    ResolveList(Bcc, MAPI_BCC, k, recips);

    char caption[] = "";
    char labels[] = "";
    ULONG newCount = 0;
    MapiRecipDesc* chosen = nullptr;
    const ULONG code =
        library_->Address(session_, 0, caption, 4, labels, ULONG(k), recips.Data(), 0, 0, &newCount, &chosen);
    if (code != SUCCESS_SUCCESS) {
        DoMapiError(code);
        return code;
    }
    Recipient.clear();
    CC.clear();
    Bcc.clear();
    for (ULONG i = 0; chosen && i < newCount; ++i) {
        const std::string name = chosen[i].lpszName ? chosen[i].lpszName : "";
        switch (chosen[i].ulRecipClass) {
        case MAPI_TO: Recipient.push_back(name); break;
        case MAPI_CC: CC.push_back(name); break;
        case MAPI_BCC: Bcc.push_back(name); break;
        default: break;
        }
    }
    if (chosen) library_->FreeBuffer(chosen);
    return SUCCESS_SUCCESS;
}

}  // namespace vimbrel
