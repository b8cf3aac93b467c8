#pragma once
// Screen pixels into a Bitmap with GDI: one BitBlt from the screen DC per grab.
#include <windows.h>

#include <optional>

#include "capture/foreground.h"
#include "capture/screen_grab.h"
#include "capture/win32/dib_canvas.h"

namespace vimbrel::win32 {

// The version GetVersionExA reports, or nothing when it fails.
std::optional<OsVersion> SystemVersion();

// Copies the screen rectangle into bitmap, sized (right - left) x (bottom - top), with
// SRCCOPY, plus CAPTUREBLT where UseCaptureBlt says so. The bitmap takes the screen's
// depth: 32 bits on a 32-bit screen, 24 otherwise. The pixels pass through `surface`.
void GrabScreenRect(const Rect& rect, Bitmap& bitmap, GrabSurface& surface);
// The same with the raster operation given (the area overlay uses plain SRCCOPY).
void GrabScreenRectWith(const Rect& rect, Bitmap& bitmap, DWORD rop, GrabSurface& surface);
// (0, 0) to the primary screen's width and height.
void GrabScreen(Bitmap& bitmap, GrabSurface& surface);
// The window's rectangle as GetWindowRect gives it; nothing (bitmap untouched) when the
// handle no longer names a window.
std::optional<Rect> GrabWindow(HWND window, Bitmap& bitmap, GrabSurface& surface);
// The standard arrow where the pointer is, relative to origin (the grabbed rectangle's
// top-left corner), clipped to the bitmap. Nothing when inclMouse is off or the pointer's
// position cannot be read.
void DrawMouseCursor(Bitmap& bitmap, Point origin, bool inclMouse);

// Draws a cursor into a 24- or 32-bit picture with DrawIconEx and these flags, its top-left
// corner at `at`, clipped to the picture. Other depths are left as they are.
void DrawCursorInto(Bitmap& picture, HCURSOR cursor, Point at, UINT flags);

// Timer1Timer's and the console check's view of the windows.
class WinWindowQuery : public WindowQuery {
public:
    WindowId ForegroundWindow() const override;
    std::string ClassName(WindowId window, int bufferSize) const override;
    bool Exists(WindowId window) const override;
    bool OfThisProcess(WindowId window) const override;
};

// ConsoleInForeground for this system.
bool ConsoleInForeground();

// The captures' screen: one surface for all its grabs, so that a capture after the first of
// the same size asks the system for no memory.
class WinScreen : public Screen {
public:
    void GrabScreen(Bitmap& bitmap) override { win32::GrabScreen(bitmap, surface_); }
    std::optional<Rect> GrabWindow(WindowId window, Bitmap& bitmap) override {
        return win32::GrabWindow(reinterpret_cast<HWND>(window), bitmap, surface_);
    }
    void DrawMouseCursor(Bitmap& bitmap, Point origin, bool inclMouse) override {
        win32::DrawMouseCursor(bitmap, origin, inclMouse);
    }

private:
    GrabSurface surface_;
};

}  // namespace vimbrel::win32
