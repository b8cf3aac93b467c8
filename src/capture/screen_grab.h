#pragma once
// Copying screen pixels into the current image, as the capture commands ask for it.
#include <cstdint>
#include <optional>

#include "capture/window_id.h"
#include "workspace/bitmap.h"
#include "util/geometry.h"

namespace vimbrel {

struct OsVersion {
    unsigned major = 0, minor = 0;
};

// Whether a grab adds CAPTUREBLT to SRCCOPY (so layered windows are copied too): not on a
// version 4.x system; yes when the version could not be read.
bool UseCaptureBlt(const std::optional<OsVersion>& version);

// Screen pixels, laid out as `picture`'s rows, into `picture`. The screen has no alpha: a
// 32-bit picture's fourth bytes are left 0, whatever the display put there (under Wine the
// X server's padding, which a PNG file would carry as transparency).
void CopyScreenPixels(const std::uint8_t* screen, Bitmap& picture);

// The screen as the capture commands use it.
class Screen {
public:
    virtual ~Screen() = default;
    // The primary screen, (0, 0) to its width and height. A bitmap that has the grab's
    // shape already lends it its memory; anything it held is replaced.
    virtual void GrabScreen(Bitmap& bitmap) = 0;
    // The window's rectangle, frame and caption included, the bitmap's memory reused in the
    // same way. Returns that rectangle, or nothing (bitmap untouched) when the handle no
    // longer names a window.
    virtual std::optional<Rect> GrabWindow(WindowId window, Bitmap& bitmap) = 0;
    // The standard arrow at the pointer's position relative to origin; nothing when
    // inclMouse is off.
    virtual void DrawMouseCursor(Bitmap& bitmap, Point origin, bool inclMouse) = 0;
};

}  // namespace vimbrel
