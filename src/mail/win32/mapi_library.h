#pragma once
// The program's Simple MAPI library: looked for once, when mail is first sent (not at start:
// nothing the first window needs), and freed at the end. One per program, shared by every
// mail session.
#include "mail/simple_mapi.h"

namespace vimbrel::win32 {

// Whether the system says Simple MAPI is installed: HKLM "Windows Messaging Subsystem"
// value "MAPI" exactly "1" (the [Mail] MAPI profile entry on systems before 4.0).
bool SimpleMapiInstalled();

// Loads "mapi32" (or "mapi32.dll") when Simple MAPI is installed and looks up its ten entry
// points. Throws EMapiDllError when one is missing; the library is then freed again and
// mail stays unavailable.
void LoadMapi();
void UnloadMapi();

// The loaded library's entry points; null while Simple MAPI is not available.
const mapi::MapiFunctions* LoadedMapi();
// The first call loads the library (LoadMapi, whose EMapiDllError it passes on); every call
// gives LoadedMapi().
const mapi::MapiFunctions* LoadMapiOnce();

// Frees the library when the program ends.
class MapiUnloader {
public:
    MapiUnloader() = default;
    ~MapiUnloader() { UnloadMapi(); }
    MapiUnloader(const MapiUnloader&) = delete;
    MapiUnloader& operator=(const MapiUnloader&) = delete;
};

}  // namespace vimbrel::win32
