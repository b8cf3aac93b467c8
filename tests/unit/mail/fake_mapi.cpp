#include "fake_mapi.h"

#include <cstring>
#include <stdexcept>

namespace vimbrel::testing {

FakeMapi* FakeMapi::current_ = nullptr;

namespace {

std::string Text(const char* p) { return p ? p : ""; }

SentRecipient Copy(const MapiRecipDesc& r) {
    return {r.ulRecipClass, Text(r.lpszName), Text(r.lpszAddress),
            r.lpEntryID ? std::string(static_cast<const char*>(r.lpEntryID), r.ulEIDSize) : std::string()};
}

// A record the library owns until MAPIFreeBuffer, with room for its texts.
struct Block {
    std::vector<MapiRecipDesc> records;
    std::vector<std::unique_ptr<std::string>> texts;
    char* Keep(const std::string& s) { return texts.emplace_back(std::make_unique<std::string>(s))->data(); }
};
std::map<void*, std::unique_ptr<Block>>& Blocks() {
    static std::map<void*, std::unique_ptr<Block>> blocks;
    return blocks;
}

}  // namespace

struct FakeMapiCalls {
    static FakeMapi& F() { return *FakeMapi::current_; }

    static void* HandOut(std::unique_ptr<Block> block) {
        void* p = block->records.data();
        Blocks()[p] = std::move(block);
        ++F().outstanding;
        return p;
    }

    static ULONG Logon(std::uintptr_t, char* profile, char* password, FLAGS flags, ULONG, LHANDLE* session) {
        FakeMapi& f = F();
        f.calls.push_back("logon " + std::to_string(flags) + (profile || password ? " with profile" : ""));
        ULONG code = 0;
        if (!f.logonAnswers.empty()) {
            code = f.logonAnswers.front();
            f.logonAnswers.erase(f.logonAnswers.begin());
        }
        *session = code ? 0 : f.nextSession++;
        return code;
    }
    static ULONG Logoff(LHANDLE session, std::uintptr_t, FLAGS, ULONG) {
        F().calls.push_back("logoff " + std::to_string(session));
        return 0;
    }
    static ULONG ResolveName(LHANDLE session, std::uintptr_t, char* name, FLAGS flags, ULONG, MapiRecipDesc** out) {
        FakeMapi& f = F();
        const bool dialog = (flags & MAPI_DIALOG) != 0;
        f.calls.push_back("resolve " + Text(name) + (dialog ? " dialog" : "") + " in " + std::to_string(session));
        Resolution r;
        auto it = f.names.find({Text(name), dialog});
        if (it != f.names.end())
            r = it->second;
        else
            r = {0, Text(name) + " Name", "SMTP:" + Text(name) + "@example.org", "id-" + Text(name)};
        if (r.code) return r.code;
        auto block = std::make_unique<Block>();
        block->records.resize(1);
        MapiRecipDesc& d = block->records[0];
        d = MapiRecipDesc{};
        d.ulRecipClass = MAPI_TO;
        d.lpszName = r.noName ? nullptr : block->Keep(r.name);
        d.lpszAddress = r.noAddress ? nullptr : block->Keep(r.address);
        d.ulEIDSize = ULONG(r.entryId.size());
        d.lpEntryID = block->Keep(r.entryId);
        *out = static_cast<MapiRecipDesc*>(HandOut(std::move(block)));
        return 0;
    }
    static ULONG SendMail(LHANDLE session, std::uintptr_t, MapiMessage* m, FLAGS flags, ULONG) {
        FakeMapi& f = F();
        f.calls.push_back("send in " + std::to_string(session));
        SentMessage s;
        s.subject = Text(m->lpszSubject);
        s.noSubject = !m->lpszSubject;
        s.note = Text(m->lpszNoteText);
        s.noNote = !m->lpszNoteText;
        s.messageFlags = m->flFlags;
        s.sendFlags = flags;
        s.recipsNone = !m->lpRecips;
        for (ULONG i = 0; m->lpRecips && i < m->nRecipCount; ++i) s.recips.push_back(Copy(m->lpRecips[i]));
        for (ULONG i = 0; m->lpFiles && i < m->nFileCount; ++i)
            s.files.push_back({Text(m->lpFiles[i].lpszPathName), Text(m->lpFiles[i].lpszFileName), m->lpFiles[i].nPosition});
        f.sent.push_back(s);
        if (f.onSend) f.onSend(s);
        return f.sendAnswer;
    }
    static ULONG Address(LHANDLE session, std::uintptr_t, char* caption, ULONG editFields, char* labels, ULONG n,
                         MapiRecipDesc* recips, FLAGS, ULONG, ULONG* newCount, MapiRecipDesc** newRecips) {
        FakeMapi& f = F();
        f.calls.push_back("address in " + std::to_string(session) + " fields " + std::to_string(editFields) +
                          " caption '" + Text(caption) + "' labels '" + Text(labels) + "'");
        for (ULONG i = 0; i < n; ++i) f.addressedWith.push_back(Copy(recips[i]));
        if (f.addressAnswer) return f.addressAnswer;
        auto block = std::make_unique<Block>();
        block->records.resize(f.chosen.size() + 1);  // never empty, so it has an address
        for (std::size_t i = 0; i < f.chosen.size(); ++i) {
            block->records[i] = MapiRecipDesc{};
            block->records[i].ulRecipClass = f.chosen[i].first;
            block->records[i].lpszName = block->Keep(f.chosen[i].second);
        }
        *newCount = ULONG(f.chosen.size());
        *newRecips = static_cast<MapiRecipDesc*>(HandOut(std::move(block)));
        return 0;
    }
    static ULONG FreeBuffer(void* p) {
        auto& blocks = Blocks();
        if (!blocks.erase(p)) throw std::logic_error("MAPIFreeBuffer of a block the library never handed out");
        --F().outstanding;
        return 0;
    }
    static void Unused() { throw std::logic_error("an entry point the program never calls"); }
};

FakeMapi::FakeMapi() {
    current_ = this;
    table_ = {&FakeMapiCalls::Unused,      &FakeMapiCalls::Logoff,   &FakeMapiCalls::Logon,
              &FakeMapiCalls::SendMail,    &FakeMapiCalls::Unused,   &FakeMapiCalls::Unused,
              &FakeMapiCalls::ResolveName, &FakeMapiCalls::FreeBuffer, &FakeMapiCalls::Address,
              &FakeMapiCalls::Unused};
}

FakeMapi::~FakeMapi() {
    Blocks().clear();
    current_ = nullptr;
}

}  // namespace vimbrel::testing
