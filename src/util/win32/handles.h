#pragma once
// Owning types for the Win32 handles the program acquires: one type per kind of release.
#include <windows.h>

#include <utility>

#include "util/unique_handle.h"

namespace vimbrel::win32 {

using vimbrel::UniqueHandleT;

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE means none
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct KernelHandleTraits {  // CreateMutex, CreateEvent: null means none
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct ModuleTraits {  // LoadLibrary
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct FindHandleTraits {  // FindFirstFile
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::FindClose(h); }
};

using UniqueFile = UniqueHandleT<HANDLE, FileHandleTraits>;
using UniqueKernelHandle = UniqueHandleT<HANDLE, KernelHandleTraits>;
using UniqueHKey = UniqueHandleT<HKEY, RegKeyTraits>;
using UniqueModule = UniqueHandleT<HMODULE, ModuleTraits>;
using UniqueFind = UniqueHandleT<HANDLE, FindHandleTraits>;

struct MenuTraits {  // CreatePopupMenu / CreateMenu not attached to a window
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct AccelTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL h) { ::DestroyAcceleratorTable(h); }
};
struct IconTraits {  // icons we load with LR_DEFAULTSIZE from our own resources
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};

struct BitmapTraits {  // CreateDIBSection, CreateCompatibleBitmap: DeleteObject
    static HBITMAP Invalid() { return nullptr; }
    static void Close(HBITMAP h) { ::DeleteObject(h); }
};

struct FontTraits {  // CreateFontIndirect: DeleteObject
    static HFONT Invalid() { return nullptr; }
    static void Close(HFONT h) { ::DeleteObject(h); }
};

struct GlobalMemoryTraits {  // GlobalAlloc, and blocks the common dialogs hand back
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { ::GlobalFree(h); }
};
struct HookTraits {  // SetWindowsHookEx
    static HHOOK Invalid() { return nullptr; }
    static void Close(HHOOK h) { ::UnhookWindowsHookEx(h); }
};
template <class T>
struct LocalMemoryTraits {  // blocks the system hands out to LocalFree (FormatMessage)
    static T* Invalid() { return nullptr; }
    static void Close(T* p) { ::LocalFree(p); }
};
struct WindowTraits {  // a top-level window we make and destroy ourselves (a tooltip)
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { ::DestroyWindow(h); }
};

template <class T>
struct GdiObjectTraits {  // regions, brushes, pens: DeleteObject
    static T Invalid() { return nullptr; }
    static void Close(T h) { ::DeleteObject(h); }
};

using UniqueMenu = UniqueHandleT<HMENU, MenuTraits>;
using UniqueRegion = UniqueHandleT<HRGN, GdiObjectTraits<HRGN>>;
using UniqueBrush = UniqueHandleT<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandleT<HPEN, GdiObjectTraits<HPEN>>;
using UniqueGlobal = UniqueHandleT<HGLOBAL, GlobalMemoryTraits>;
using UniqueWindow = UniqueHandleT<HWND, WindowTraits>;
using UniqueHook = UniqueHandleT<HHOOK, HookTraits>;
template <class T>
using UniqueLocalPtr = UniqueHandleT<T*, LocalMemoryTraits<T>>;
using UniqueFont = UniqueHandleT<HFONT, FontTraits>;
using UniqueAccel = UniqueHandleT<HACCEL, AccelTraits>;
using GdiBitmap = UniqueHandleT<HBITMAP, BitmapTraits>;
using UniqueIcon = UniqueHandleT<HICON, IconTraits>;

// Closes the clipboard however the work on it ends.
class OpenClipboardScope {
public:
    // Another program holds the clipboard open for a moment at a time (a reader that polls
    // it, a clipboard manager): it is asked again for up to a quarter of a second.
    explicit OpenClipboardScope(HWND owner) {
        for (int attempt = 0; attempt < 25 && !open_; ++attempt) {
            if (attempt) ::Sleep(10);
            open_ = ::OpenClipboard(owner) != FALSE;
        }
    }
    ~OpenClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// A movable memory block locked for the life of the guard; null when it could not be locked.
template <class T>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), p_(static_cast<T*>(block ? ::GlobalLock(block) : nullptr)) {}
    ~GlobalLockGuard() {
        if (p_) ::GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    T* get() const { return p_; }

private:
    HGLOBAL block_;
    T* p_;
};

}  // namespace vimbrel::win32
