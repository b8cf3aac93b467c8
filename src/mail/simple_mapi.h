#pragma once
// Simple MAPI as the mail session sees it: the records, codes and flags that mapi32.dll
// publishes, and the table of its entry points. The records have the published field order
// and types, so the Windows adapter hands them to the library as they are (it checks the
// layouts against the system's own header); tests fill the table with fakes.
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VIMBREL_MAPI_CALL __stdcall
#else
#define VIMBREL_MAPI_CALL
#endif

namespace vimbrel::mapi {

using ULONG = std::uint32_t;
using FLAGS = std::uint32_t;
using LHANDLE = std::uintptr_t;

struct MapiFileDesc {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    char* lpszPathName;
    char* lpszFileName;
    void* lpFileType;
};

struct MapiRecipDesc {
    ULONG ulReserved;
    ULONG ulRecipClass;
    char* lpszName;
    char* lpszAddress;
    ULONG ulEIDSize;
    void* lpEntryID;
};

struct MapiMessage {
    ULONG ulReserved;
    char* lpszSubject;
    char* lpszNoteText;
    char* lpszMessageType;
    char* lpszDateReceived;
    char* lpszConversationID;
    FLAGS flFlags;
    MapiRecipDesc* lpOriginator;
    ULONG nRecipCount;
    MapiRecipDesc* lpRecips;
    ULONG nFileCount;
    MapiFileDesc* lpFiles;
};

inline constexpr ULONG SUCCESS_SUCCESS = 0;
inline constexpr ULONG MAPI_E_LOGIN_FAILURE = 3;
inline constexpr ULONG MAPI_E_TOO_MANY_FILES = 9;
inline constexpr ULONG MAPI_E_TOO_MANY_RECIPIENTS = 10;
inline constexpr ULONG MAPI_E_ATTACHMENT_NOT_FOUND = 11;
inline constexpr ULONG MAPI_E_UNKNOWN_RECIPIENT = 14;
inline constexpr ULONG MAPI_E_AMBIGUOUS_RECIPIENT = 21;

inline constexpr FLAGS MAPI_LOGON_UI = 0x1;
inline constexpr FLAGS MAPI_RECEIPT_REQUESTED = 0x2;
inline constexpr FLAGS MAPI_DIALOG = 0x8;

inline constexpr ULONG MAPI_ORIG = 0;
inline constexpr ULONG MAPI_TO = 1;
inline constexpr ULONG MAPI_CC = 2;
inline constexpr ULONG MAPI_BCC = 3;

using MapiLogonFn = ULONG(VIMBREL_MAPI_CALL*)(std::uintptr_t ulUIParam, char* lpszProfileName, char* lpszPassword,
                                              FLAGS flFlags, ULONG ulReserved, LHANDLE* lplhSession);
using MapiLogoffFn = ULONG(VIMBREL_MAPI_CALL*)(LHANDLE lhSession, std::uintptr_t ulUIParam, FLAGS flFlags,
                                               ULONG ulReserved);
using MapiSendMailFn = ULONG(VIMBREL_MAPI_CALL*)(LHANDLE lhSession, std::uintptr_t ulUIParam, MapiMessage* lpMessage,
                                                 FLAGS flFlags, ULONG ulReserved);
using MapiResolveNameFn = ULONG(VIMBREL_MAPI_CALL*)(LHANDLE lhSession, std::uintptr_t ulUIParam, char* lpszName,
                                                    FLAGS flFlags, ULONG ulReserved, MapiRecipDesc** lppRecip);
using MapiAddressFn = ULONG(VIMBREL_MAPI_CALL*)(LHANDLE lhSession, std::uintptr_t ulUIParam, char* lpszCaption,
                                                ULONG nEditFields, char* lpszLabels, ULONG nRecips,
                                                MapiRecipDesc* lpRecips, FLAGS flFlags, ULONG ulReserved,
                                                ULONG* lpnNewRecips, MapiRecipDesc** lppNewRecips);
using MapiFreeBufferFn = ULONG(VIMBREL_MAPI_CALL*)(void* pv);
// Looked up with the others, never called.
using MapiUnusedFn = void (*)();

// The ten entry points, each looked up by its name; a library lacking one is not used.
struct MapiFunctions {
    MapiUnusedFn FindNext = nullptr;
    MapiLogoffFn Logoff = nullptr;
    MapiLogonFn Logon = nullptr;
    MapiSendMailFn SendMail = nullptr;
    MapiUnusedFn ReadMail = nullptr;
    MapiUnusedFn DeleteMail = nullptr;
    MapiResolveNameFn ResolveName = nullptr;
    MapiFreeBufferFn FreeBuffer = nullptr;
    MapiAddressFn Address = nullptr;
    MapiUnusedFn SaveMail = nullptr;
};

inline constexpr const char* kEntryPointNames[10] = {
    "MAPIFindNext",    "MAPILogoff",     "MAPILogon",   "MAPISendMail", "MAPIReadMail",
    "MAPIDeleteMail",  "MAPIResolveName", "MAPIFreeBuffer", "MAPIAddress", "MAPISaveMail"};

}  // namespace vimbrel::mapi
