#pragma once
// GDI handles of the capture code, one owning type per kind of release.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "util/win32/handles.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {

// GetDC: released with ReleaseDC against the same window (null for the screen).
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

struct MemoryDCTraits {  // CreateCompatibleDC: DeleteDC
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
using UniqueMemoryDC = UniqueHandleT<HDC, MemoryDCTraits>;

// Selects an object into a DC for the life of the guard and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};


// A DIB section selected into a memory DC compatible with the screen: GDI draws into it
// and its bits lie in memory in Bitmap's layout.
class DibCanvas {
public:
    // Throws EImageTooLarge when the section cannot be made.
    DibCanvas(int width, int height, int bitsPerPixel);
    HDC dc() const { return dc_.get(); }
    std::uint8_t* bits() const { return bits_; }

private:
    UniqueMemoryDC dc_;
    GdiBitmap bitmap_;
    std::uint8_t* bits_ = nullptr;
    std::optional<SelectedObject> selected_;
};

}  // namespace vimbrel::win32
