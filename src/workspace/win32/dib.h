#pragma once
// The bridge between Bitmap and GDI: Bitmap keeps a DIB's pixel layout, so GDI gets its
// bytes through a header and colour table that describe them, and gives pixels back
// through GetDIBits.
#include <windows.h>

#include <utility>

#include "util/win32/handles.h"
#include "workspace/bitmap.h"

namespace vimbrel::win32 {

// BITMAPINFO with room for a full colour table: top-down, uncompressed, the picture's
// own depth, its colours for 8 bits.
struct DibInfo {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{};
    const BITMAPINFO* get() const { return reinterpret_cast<const BITMAPINFO*>(this); }
    BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};
DibInfo MakeDibInfo(const Bitmap& picture);
DibInfo MakeDibInfo(int width, int height, int bitsPerPixel);

// A DIB section holding a copy of the picture (colour table included). Throws
// EImageTooLarge when GDI cannot make it.
GdiBitmap CreateDibSection(const Bitmap& picture);

// The pixels of any bitmap handle (not selected into a DC) as a picture of the asked
// depth (8, 24 or 32); an 8-bit result carries the colour table GDI gives. Throws
// EImageTooLarge when the picture cannot be held, std::runtime_error when GDI refuses.
Bitmap BitmapFromHbitmap(HBITMAP bitmap, int bitsPerPixel = 24);

// Stretches the whole picture into the destination rectangle dropping or repeating whole
// pixels (COLORONCOLOR, no blending); the DC's stretch mode is put back. False when GDI
// fails (typically for lack of memory).
bool DrawBitmap(HDC dc, const Bitmap& picture, int x, int y, int width, int height);

}  // namespace vimbrel::win32
