#include "capture/screen_grab.h"

#include <cstring>

namespace vimbrel {

bool UseCaptureBlt(const std::optional<OsVersion>& version) { return !version || version->major != 4; }

void CopyScreenPixels(const std::uint8_t* screen, Bitmap& picture) {
    if (picture.BitsPerPixel() != 32) {
        std::memcpy(picture.Data(), screen, picture.DataSize());
        return;
    }
    // Rows of 32-bit pixels have no padding: the pixels are copied as one run, masked on the
    // way (as fast as the copy alone; the compiler takes several at once).
    std::uint8_t* out = picture.Data();
    const std::size_t pixels = picture.DataSize() / 4;
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint32_t pixel;
        std::memcpy(&pixel, screen + 4 * i, 4);
        pixel &= 0x00FFFFFFu;
        std::memcpy(out + 4 * i, &pixel, 4);
    }
}

}  // namespace vimbrel
