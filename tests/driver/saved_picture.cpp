#include "saved_picture.h"

#include <exception>

#include "vimbrel_process.h"
#include "workspace/image_file.h"
#include "workspace/win32/dib.h"

namespace e2e {

std::optional<vimbrel::Bitmap> WaitForPicture(const std::string& path, std::chrono::milliseconds timeout) {
    std::optional<vimbrel::Bitmap> picture;
    WaitFor([&] {
        try {
            picture = vimbrel::LoadImageFile(path);
        } catch (const std::exception&) {
            picture.reset();
        }
        return picture.has_value();
    }, timeout);
    return picture;
}

std::optional<vimbrel::Bitmap> ClipboardPicture() {
    if (!::OpenClipboard(nullptr)) return std::nullopt;
    std::optional<vimbrel::Bitmap> picture;
    if (HBITMAP bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
        picture = vimbrel::win32::BitmapFromHbitmap(bitmap, 24);
    ::CloseClipboard();
    return picture;
}

}  // namespace e2e
