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

}  // namespace vimbrel::win32
