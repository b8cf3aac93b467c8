#include "workspace/win32/dib.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "util/win32/gdi_handles.h"

namespace vimbrel::win32 {
namespace {

class StretchModeGuard {
public:
    StretchModeGuard(HDC dc, int mode) : dc_(dc), previous_(::SetStretchBltMode(dc, mode)) {}
    ~StretchModeGuard() {
        if (previous_) ::SetStretchBltMode(dc_, previous_);
    }
    StretchModeGuard(const StretchModeGuard&) = delete;
    StretchModeGuard& operator=(const StretchModeGuard&) = delete;

private:
    HDC dc_;
    int previous_;
};

}  // namespace

DibInfo MakeDibInfo(int width, int height, int bitsPerPixel) {
    DibInfo info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top-down, as Bitmap stores its rows
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = DWORD(Bitmap::StrideFor(width, bitsPerPixel) * std::size_t(height));
    return info;
}

DibInfo MakeDibInfo(const Bitmap& picture) {
    DibInfo info = MakeDibInfo(picture.Width(), picture.Height(), picture.BitsPerPixel());
    if (picture.BitsPerPixel() == 8) {
        const auto& palette = picture.Palette();
        const std::size_t count = palette.size() < 256 ? palette.size() : 256;
        for (std::size_t i = 0; i < count; ++i)
            info.colours[i] = RGBQUAD{palette[i].blue, palette[i].green, palette[i].red, 0};
        info.header.biClrUsed = DWORD(count == 0 ? 256 : count);
    }
    return info;
}

GdiBitmap CreateDibSection(const Bitmap& picture) {
    DibInfo info = MakeDibInfo(picture);
    WindowDC screen(nullptr);
    void* bits = nullptr;
    GdiBitmap section(::CreateDIBSection(screen.get(), info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits)
        throw EImageTooLarge("No bitmap of " + std::to_string(picture.Width()) + " x " +
                             std::to_string(picture.Height()) + " pixels could be made");
    ::GdiFlush();
    if (picture.DataSize() != 0) std::memcpy(bits, picture.Data(), picture.DataSize());
    return section;
}

Bitmap BitmapFromHbitmap(HBITMAP bitmap, int bitsPerPixel) {
    BITMAP description{};
    if (!bitmap || ::GetObjectA(bitmap, sizeof description, &description) == 0)
        throw std::runtime_error("Not a bitmap handle");
    const int width = description.bmWidth;
    const int height = description.bmHeight < 0 ? -description.bmHeight : description.bmHeight;
    Bitmap picture(width, height, bitsPerPixel);  // checks the size before allocating
    if (picture.Empty()) return picture;
    DibInfo info = MakeDibInfo(width, height, bitsPerPixel);
    if (bitsPerPixel == 8) info.header.biClrUsed = 256;
    WindowDC screen(nullptr);
    if (::GetDIBits(screen.get(), bitmap, 0, UINT(height), picture.Data(), info.get(), DIB_RGB_COLORS) != height)
        throw std::runtime_error("The bitmap's pixels could not be read");
    if (bitsPerPixel == 8) {
        auto& palette = picture.Palette();
        const std::size_t used = info.header.biClrUsed == 0 || info.header.biClrUsed > 256 ? 256 : info.header.biClrUsed;
        palette.resize(used);
        for (std::size_t i = 0; i < used; ++i)
            palette[i] = RgbQuad{info.colours[i].rgbBlue, info.colours[i].rgbGreen, info.colours[i].rgbRed, 0};
    }
    return picture;
}

bool DrawBitmap(HDC dc, const Bitmap& picture, int x, int y, int width, int height) {
    if (picture.Empty()) return true;
    const DibInfo info = MakeDibInfo(picture);
    StretchModeGuard mode(dc, COLORONCOLOR);
    const int lines = ::StretchDIBits(dc, x, y, width, height, 0, 0, picture.Width(), picture.Height(),
                                      picture.Data(), info.get(), DIB_RGB_COLORS, SRCCOPY);
    return lines != 0 && lines != int(GDI_ERROR);
}

}  // namespace vimbrel::win32
