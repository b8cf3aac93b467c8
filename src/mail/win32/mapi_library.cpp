#include "mail/win32/mapi_library.h"
#include "mail/email.h"
#include "util/win32/handles.h"
#include "workspace/step_trace.h"
#include "workspace/win32/process_memory.h"

#include <windows.h>
#include <mapi.h>

#include <cstddef>
#include <string>

namespace vimbrel::win32 {
namespace {

// The session hands its records to the library as they are: their layouts must be the
// system's.
#define SAME_FIELD(record, field)                                                           \
    static_assert(offsetof(mapi::record, field) == offsetof(::record, field) &&             \
                  sizeof(mapi::record::field) == sizeof(::record::field), #record "." #field)
static_assert(sizeof(mapi::MapiFileDesc) == sizeof(::MapiFileDesc));
SAME_FIELD(MapiFileDesc, flFlags);
SAME_FIELD(MapiFileDesc, nPosition);
SAME_FIELD(MapiFileDesc, lpszPathName);
SAME_FIELD(MapiFileDesc, lpszFileName);
SAME_FIELD(MapiFileDesc, lpFileType);
static_assert(sizeof(mapi::MapiRecipDesc) == sizeof(::MapiRecipDesc));
SAME_FIELD(MapiRecipDesc, ulRecipClass);
SAME_FIELD(MapiRecipDesc, lpszName);
SAME_FIELD(MapiRecipDesc, lpszAddress);
SAME_FIELD(MapiRecipDesc, ulEIDSize);
SAME_FIELD(MapiRecipDesc, lpEntryID);
static_assert(sizeof(mapi::MapiMessage) == sizeof(::MapiMessage));
SAME_FIELD(MapiMessage, lpszSubject);
SAME_FIELD(MapiMessage, lpszNoteText);
SAME_FIELD(MapiMessage, lpszConversationID);
SAME_FIELD(MapiMessage, flFlags);
SAME_FIELD(MapiMessage, lpOriginator);
SAME_FIELD(MapiMessage, nRecipCount);
SAME_FIELD(MapiMessage, lpRecips);
SAME_FIELD(MapiMessage, nFileCount);
SAME_FIELD(MapiMessage, lpFiles);
#undef SAME_FIELD
static_assert(sizeof(mapi::LHANDLE) == sizeof(::LHANDLE) && sizeof(mapi::ULONG) == sizeof(::ULONG));
// The system header's codes and flags are macros of the same names as the session's
// constants (which is why that header comes after ours): the values must agree.
static_assert(MAPI_LOGON_UI == 1 && MAPI_RECEIPT_REQUESTED == 2 && MAPI_DIALOG == 8 && MAPI_E_LOGIN_FAILURE == 3 &&
              MAPI_E_TOO_MANY_FILES == 9 && MAPI_E_TOO_MANY_RECIPIENTS == 10 && MAPI_E_ATTACHMENT_NOT_FOUND == 11 &&
              MAPI_E_UNKNOWN_RECIPIENT == 14 && MAPI_E_AMBIGUOUS_RECIPIENT == 21 && MAPI_TO == 1 && MAPI_CC == 2 &&
              MAPI_BCC == 3);

struct LoadedLibrary {
    UniqueModule module;
    mapi::MapiFunctions table;
    bool available = false;
};

LoadedLibrary& Library() {
    static LoadedLibrary library;
    return library;
}

// Critical-error and file-open boxes stay away while the library is looked for.
class QuietErrorMode {
public:
    QuietErrorMode() : previous_(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrorMode() { ::SetErrorMode(previous_); }
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;

private:
    UINT previous_;
};

template <class Fn>
bool Lookup(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return fn != nullptr;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
bool NewerThan351() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) return true;
    return info.dwMajorVersion > 3 || (info.dwMajorVersion == 3 && info.dwMinorVersion > 51);
}
#pragma GCC diagnostic pop

}  // namespace

bool SimpleMapiInstalled() {
    if (!NewerThan351()) return ::GetProfileIntA("Mail", "MAPI", 0) != 0;
    UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows Messaging Subsystem", 0, KEY_READ,
                        key.put()) != ERROR_SUCCESS)
        return false;
    char value[9] = {};
    DWORD size = sizeof value, type = 0;
    if (::RegQueryValueExA(key.get(), "MAPI", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return false;
    return value[0] == '1' && value[1] == '\0';
}

void LoadMapi() {
    LoadedLibrary& lib = Library();
    if (lib.available || !SimpleMapiInstalled()) return;
    {
        QuietErrorMode quiet;
        lib.module.reset(::LoadLibraryA("mapi32"));
        if (!lib.module) lib.module.reset(::LoadLibraryA("mapi32.dll"));
    }
    if (!lib.module) return;
    const HMODULE m = lib.module.get();
    mapi::MapiFunctions& t = lib.table;
    const char* const* names = mapi::kEntryPointNames;
    const bool all = Lookup(m, names[0], t.FindNext) & Lookup(m, names[1], t.Logoff) & Lookup(m, names[2], t.Logon) &
                     Lookup(m, names[3], t.SendMail) & Lookup(m, names[4], t.ReadMail) &
                     Lookup(m, names[5], t.DeleteMail) & Lookup(m, names[6], t.ResolveName) &
                     Lookup(m, names[7], t.FreeBuffer) & Lookup(m, names[8], t.Address) &
                     Lookup(m, names[9], t.SaveMail);
    if (!all) {
        // Half a library is no library: mail stays off and the program runs on.
        UnloadMapi();
        throw EMapiDllError();
    }
    lib.available = true;
}

void UnloadMapi() {
    LoadedLibrary& lib = Library();
    lib.available = false;
    lib.table = mapi::MapiFunctions{};
    lib.module.reset();
}

const mapi::MapiFunctions* LoadMapiOnce() {
    static bool tried = false;
    if (!tried) {
        tried = true;
        const LoadCost cost;
        LoadMapi();
        cost.Log("simple mapi");
    }
    return LoadedMapi();
}

const mapi::MapiFunctions* LoadedMapi() {
    const LoadedLibrary& lib = Library();
    return lib.available ? &lib.table : nullptr;
}

}  // namespace vimbrel::win32
