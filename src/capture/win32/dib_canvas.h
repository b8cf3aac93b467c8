#pragma once
// The capture code's drawing surface: a DIB section in a memory DC.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "util/win32/gdi_handles.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {

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

// The canvas screen grabs go through, kept from one grab to the next while the size and
// depth stay the same. A new screenful of section costs a page fault for each of its pages
// when the BitBlt first writes them and an unmapping when it goes: under Wine about a sixth
// of Print Screen to a whole file. The price is one grab's pixels held between captures.
class GrabSurface {
public:
    // The kept canvas when it has this shape, else a new one in its place (the old one is
    // let go first). Throws EImageTooLarge as DibCanvas does, keeping nothing.
    DibCanvas& Sized(int width, int height, int bitsPerPixel);

private:
    std::optional<DibCanvas> canvas_;
    int width_ = 0, height_ = 0, bitsPerPixel_ = 0;
};

}  // namespace vimbrel::win32
