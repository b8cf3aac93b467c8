#pragma once
// TEmail: one mail through Simple MAPI. It logs on, resolves the recipients' names, lets the
// user pick recipients in the mail client's address book and hands over the message with
// its attachments. Failures come back as Simple MAPI result codes; only a missing library
// throws. The library's entry points are the program's, loaded once at start.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "mail/simple_mapi.h"

namespace vimbrel {

class FileQueries;

inline constexpr const char* kMapiUnavailableText = "MAPI services are not available on this system";
inline constexpr const char* kMapiDllErrorText = "GetProcAddress for MAPI.DLL function(s) failed";

// The library lacks one of the ten entry points.
class EMapiDllError : public std::runtime_error {
public:
    EMapiDllError() : std::runtime_error(kMapiDllErrorText) {}
};

// Simple MAPI is not installed or could not be loaded.
class EMapiUnavailable : public std::runtime_error {
public:
    EMapiUnavailable() : std::runtime_error(kMapiUnavailableText) {}
};

// The records handed to the library for one call, with the texts and entry ids they point
// to; everything goes with the array.
class RecipientArray {
public:
    explicit RecipientArray(std::size_t count) : records_(count, mapi::MapiRecipDesc{}) {}
    RecipientArray(const RecipientArray&) = delete;
    RecipientArray& operator=(const RecipientArray&) = delete;

    std::size_t Size() const { return records_.size(); }
    mapi::MapiRecipDesc* Data() { return records_.empty() ? nullptr : records_.data(); }
    const mapi::MapiRecipDesc& operator[](std::size_t i) const { return records_[i]; }
    void Fill(std::size_t index, mapi::ULONG recipClass, const std::string& name, const std::string& address,
              const void* entryId, std::size_t entryIdSize);

private:
    char* Keep(const std::string& text);

    std::vector<mapi::MapiRecipDesc> records_;
    std::deque<std::string> texts_;
    std::deque<std::vector<std::uint8_t>> entryIds_;
};

class TEmail {
public:
    // `library` is null when Simple MAPI is not available; `files` tells which attachments exist.
    TEmail(const mapi::MapiFunctions* library, const FileQueries& files);
    virtual ~TEmail();
    TEmail(const TEmail&) = delete;
    TEmail& operator=(const TEmail&) = delete;

    // The largest number of recipients or files one call takes: arrays of 24-byte records
    // stay below 2^31 bytes.
    static constexpr std::size_t MaxRecords = 0x5555555;
    // 10 for too many recipients, 9 for too many files, 0 when both counts are within bounds.
    static mapi::ULONG CountLimitCode(std::size_t recipients, std::size_t files);

    std::vector<std::string> Recipient;
    std::vector<std::string> CC;
    std::vector<std::string> Bcc;
    std::vector<std::string> Attachment;  // full paths
    bool ShowDialog = false;
    bool Acknowledge = false;
    mapi::FLAGS LogonFlags = 0;

    const std::string& Subject() const { return subject_; }
    const std::string& Text() const { return text_; }
    // Both keep at most 255 characters.
    void SetSubject(const std::string& subject);
    void SetText(const std::string& text);
    // The body of any length, sent instead of Text; nothing clears it. Empties Text and
    // returns the length kept.
    std::size_t SetLongText(const std::optional<std::string>& text);

    bool MapiAvail() const { return library_ != nullptr; }
    mapi::LHANDLE Session() const { return session_; }

    mapi::ULONG Logon();
    mapi::ULONG Logoff();
    // Resolves every entry of List into Recipients from slot Index on; Index ends at the
    // next free slot. Unresolved entries get no slot; the last failing code is returned.
    mapi::ULONG ResolveList(std::vector<std::string>& List, mapi::ULONG Class, std::size_t& Index,
                            RecipientArray& Recipients);
    mapi::ULONG SendMail();
    // The mail client's address book; on success the three lists hold the chosen names.
    mapi::ULONG Address();

    // Hooks around each step; none is attached by the program.
    std::function<void()> OnBeforeLogon, OnAfterLogon, OnBeforeLogoff, OnAfterLogoff, OnBeforeSend, OnAfterSend;
    std::function<void(mapi::ULONG)> OnMapiError;

protected:
    virtual void DoBeforeLogon() { Run(OnBeforeLogon); }
    virtual void DoAfterLogon() { Run(OnAfterLogon); }
    virtual void DoBeforeLogoff() { Run(OnBeforeLogoff); }
    virtual void DoAfterLogoff() { Run(OnAfterLogoff); }
    virtual void DoBeforeSend() { Run(OnBeforeSend); }
    virtual void DoAfterSend() { Run(OnAfterSend); }
    virtual void DoMapiError(mapi::ULONG code) {
        if (OnMapiError) OnMapiError(code);
    }

private:
    static void Run(const std::function<void()>& hook) {
        if (hook) hook();
    }
    void CheckMapi() const;

    const mapi::MapiFunctions* library_;
    const FileQueries& files_;
    std::string subject_, text_;
    std::optional<std::string> longText_;
    mapi::LHANDLE session_ = 0;
};

}  // namespace vimbrel
