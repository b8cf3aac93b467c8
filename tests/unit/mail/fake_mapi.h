#pragma once
// A Simple MAPI library played in memory: every call is logged with its arguments, names
// resolve as the test says, the message handed to MAPISendMail is copied for checking, and
// each record the library hands out is counted until MAPIFreeBuffer takes it back.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mail/simple_mapi.h"

namespace vimbrel::testing {

using namespace mapi;

struct SentRecipient {
    ULONG recipClass;
    std::string name, address, entryId;
    bool operator==(const SentRecipient&) const = default;
};
struct SentFile {
    std::string path, name;
    ULONG position;
    bool operator==(const SentFile&) const = default;
};
struct SentMessage {
    std::string subject, note;
    bool noSubject = false, noNote = false;
    FLAGS messageFlags = 0, sendFlags = 0;
    bool recipsNone = false;
    std::vector<SentRecipient> recips;
    std::vector<SentFile> files;
};

// How one name resolves: a code, and when 0 the record handed back.
struct Resolution {
    ULONG code = 0;
    std::string name, address, entryId;
    bool noName = false, noAddress = false;
};
// A name the library fails on with this code.
inline Resolution Fails(ULONG code) {
    Resolution r;
    r.code = code;
    return r;
}

class FakeMapi {
public:
    FakeMapi();
    ~FakeMapi();
    FakeMapi(const FakeMapi&) = delete;
    FakeMapi& operator=(const FakeMapi&) = delete;

    const MapiFunctions* Table() const { return &table_; }

    // Answers, by default all successes. Logon answers are used up in order.
    std::vector<ULONG> logonAnswers;
    // Keyed by the name asked and whether the client's dialog was allowed.
    std::map<std::pair<std::string, bool>, Resolution> names;
    ULONG sendAnswer = 0, addressAnswer = 0;
    // What the address book hands back: class and name.
    std::vector<std::pair<ULONG, std::string>> chosen;
    // Runs while MAPISendMail has the message, when the attached files must still exist.
    std::function<void(const SentMessage&)> onSend;

    // What happened.
    std::vector<std::string> calls;
    std::vector<SentMessage> sent;
    std::vector<SentRecipient> addressedWith;
    int outstanding = 0;  // records handed out and not yet freed
    LHANDLE nextSession = 0x51;

private:
    static FakeMapi* current_;
    friend struct FakeMapiCalls;
    MapiFunctions table_;
};

}  // namespace vimbrel::testing
