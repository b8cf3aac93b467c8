// Stand-in for the Simple MAPI library (mapi32.dll): each call is written as one line with
// its arguments to "mapi-calls.txt" beside the program, and each attached file is copied to
// "mapi-attachment-N" there while the send has it, so a test can read what was sent.
// Names resolve to themselves with "SMTP:" before the address; a name starting with
// "nobody" is unknown. Built a second time without MAPISaveMail as a broken library.
#include <windows.h>
#include <mapi.h>

#include <string>

#include "call_record.h"

namespace {

std::string Folder() { return standins::FolderOf(nullptr); }

std::string Text(const char* text) {
    std::string out;
    for (const char* p = text; p && *p; ++p) out += *p == '\r' ? std::string("\\r") : *p == '\n' ? std::string("\\n") : std::string(1, *p);
    return text ? out : "(none)";
}

void Record(const std::string& line) { standins::RecordCall(nullptr, "mapi-calls.txt", line); }

std::string Recipient(const MapiRecipDesc& r) {
    return " recip=" + std::to_string(r.ulRecipClass) + "|" + Text(r.lpszName) + "|" + Text(r.lpszAddress);
}

// Records handed out, with their texts in the same block; MAPIFreeBuffer frees the block.
MapiRecipDesc* NewRecipients(ULONG count, const MapiRecipDesc* from) {
    std::size_t size = sizeof(MapiRecipDesc) * (count ? count : 1);
    for (ULONG i = 0; i < count; ++i)
        size += 2 * (std::string(Text(from[i].lpszName)).size() + 8);
    auto* block = static_cast<MapiRecipDesc*>(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    char* texts = reinterpret_cast<char*>(block + (count ? count : 1));
    for (ULONG i = 0; i < count; ++i) {
        const std::string name = from[i].lpszName ? from[i].lpszName : "";
        const std::string address = "SMTP:" + name;
        block[i].ulRecipClass = from[i].ulRecipClass;
        block[i].lpszName = lstrcpyA(texts, name.c_str());
        texts += name.size() + 1;
        block[i].lpszAddress = lstrcpyA(texts, address.c_str());
        texts += address.size() + 1;
    }
    return block;
}

}  // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR profile, LPSTR password, FLAGS flags, ULONG,
                                             LPLHANDLE session) {
    Record("MAPILogon profile=" + Text(profile) + " password=" + Text(password) + " flags=" + std::to_string(flags));
    *session = 0x1234;
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
    Record("MAPILogoff session=" + std::to_string(session));
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIResolveName(LHANDLE session, ULONG_PTR, LPSTR name, FLAGS flags, ULONG,
                                                   lpMapiRecipDesc* resolved) {
    Record("MAPIResolveName session=" + std::to_string(session) + " name=" + Text(name) + " flags=" +
           std::to_string(flags));
    if (std::string(Text(name)).rfind("nobody", 0) == 0) return MAPI_E_UNKNOWN_RECIPIENT;
    MapiRecipDesc asked{};
    asked.ulRecipClass = MAPI_TO;
    asked.lpszName = name;
    *resolved = NewRecipients(1, &asked);
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR, lpMapiMessage m, FLAGS flags, ULONG) {
    std::string line = "MAPISendMail session=" + std::to_string(session) + " flags=" + std::to_string(flags) +
                       " subject=" + Text(m->lpszSubject) + " note=" + Text(m->lpszNoteText);
    for (ULONG i = 0; m->lpRecips && i < m->nRecipCount; ++i) line += Recipient(m->lpRecips[i]);
    for (ULONG i = 0; m->lpFiles && i < m->nFileCount; ++i) {
        const MapiFileDesc& f = m->lpFiles[i];
        line += " file=" + Text(f.lpszPathName) + "|" + Text(f.lpszFileName) + "|" + std::to_string(LONG(f.nPosition));
        ::CopyFileA(f.lpszPathName, (Folder() + "mapi-attachment-" + std::to_string(i)).c_str(), FALSE);
    }
    Record(line);
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR, LPSTR caption, ULONG fields, LPSTR labels,
                                               ULONG count, lpMapiRecipDesc recips, FLAGS flags, ULONG,
                                               LPULONG newCount, lpMapiRecipDesc* newRecips) {
    std::string line = "MAPIAddress session=" + std::to_string(session) + " caption=" + Text(caption) +
                       " fields=" + std::to_string(fields) + " labels=" + Text(labels) + " flags=" + std::to_string(flags);
    for (ULONG i = 0; i < count; ++i) line += Recipient(recips[i]);
    Record(line);
    // The book hands back what it was given.
    *newCount = count;
    *newRecips = NewRecipients(count, recips);
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIFreeBuffer(LPVOID p) {
    Record("MAPIFreeBuffer");
    ::HeapFree(::GetProcessHeap(), 0, p);
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIFindNext(LHANDLE, ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPSTR) {
    Record("MAPIFindNext");
    return MAPI_E_NOT_SUPPORTED;
}
__declspec(dllexport) ULONG WINAPI MAPIReadMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG, lpMapiMessage*) {
    Record("MAPIReadMail");
    return MAPI_E_NOT_SUPPORTED;
}
__declspec(dllexport) ULONG WINAPI MAPIDeleteMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG) {
    Record("MAPIDeleteMail");
    return MAPI_E_NOT_SUPPORTED;
}
#ifndef VIMBREL_MAPI_BROKEN
__declspec(dllexport) ULONG WINAPI MAPISaveMail(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG, LPSTR) {
    Record("MAPISaveMail");
    return MAPI_E_NOT_SUPPORTED;
}
#endif

}  // extern "C"
