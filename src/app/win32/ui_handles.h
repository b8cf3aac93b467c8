#pragma once
// Owning types for the user-interface handles the main window creates.
#include <windows.h>

#include "util/win32/handles.h"

namespace vimbrel::win32 {

struct MenuTraits {  // CreatePopupMenu / CreateMenu not attached to a window
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct AccelTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL h) { ::DestroyAcceleratorTable(h); }
};
struct GdiObjectTraits {  // fonts, bitmaps, brushes: DeleteObject
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct IconTraits {  // icons we load with LR_DEFAULTSIZE from our own resources
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};

using UniqueMenu = UniqueHandleT<HMENU, MenuTraits>;
using UniqueAccel = UniqueHandleT<HACCEL, AccelTraits>;
using UniqueGdiObject = UniqueHandleT<HGDIOBJ, GdiObjectTraits>;
using UniqueIcon = UniqueHandleT<HICON, IconTraits>;

}  // namespace vimbrel::win32
