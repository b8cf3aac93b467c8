#include "capture/win32/screen_grab.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "capture/win32/dib_canvas.h"
#include "util/win32/rect_conversions.h"
#include "util/win32/system.h"
#include "workspace/step_trace.h"

namespace vimbrel::win32 {

DibCanvas::DibCanvas(int width, int height, int bitsPerPixel) {
    DibInfo info = MakeDibInfo(width, height, bitsPerPixel);
    WindowDC screen(nullptr);
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(screen.get(), info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(::CreateCompatibleDC(screen.get()));
    if (!bitmap_ || !dc_ || !bits)
        throw EImageTooLarge("No drawing surface of " + std::to_string(width) + " x " + std::to_string(height) +
                             " pixels could be made");
    bits_ = static_cast<std::uint8_t*>(bits);
    selected_.emplace(dc_.get(), bitmap_.get());
}

DibCanvas& GrabSurface::Sized(int width, int height, int bitsPerPixel) {
    if (canvas_ && width == width_ && height == height_ && bitsPerPixel == bitsPerPixel_) return *canvas_;
    canvas_.emplace(width, height, bitsPerPixel);  // which lets the old one go first
    width_ = width, height_ = height, bitsPerPixel_ = bitsPerPixel;
    return *canvas_;
}

std::optional<OsVersion> SystemVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version)) return std::nullopt;
    return OsVersion{unsigned(version.dwMajorVersion), unsigned(version.dwMinorVersion)};
}

void GrabScreenRectWith(const Rect& rect, Bitmap& bitmap, DWORD rop, GrabSurface& surface) {
    StepTrace trace("screen grab");
    const int width = std::max(0, rect.Width()), height = std::max(0, rect.Height());
    const WindowDC screen(nullptr);
    // Grabs keep the screen's own depth where a Bitmap can hold it.
    const int depth = screen && ::GetDeviceCaps(screen.get(), BITSPIXEL) == 32 ? 32 : 24;
    // Memory already of the right size is written over, not asked for anew.
    Bitmap grabbed = bitmap.Width() == width && bitmap.Height() == height && bitmap.BitsPerPixel() == depth
                         ? std::move(bitmap)
                         : Bitmap::Unfilled(width, height, depth);
    grabbed.Palette().clear();
    grabbed.SetFileFormat(StoredFormat{});
    trace.Step("picture");
    if (!grabbed.Empty()) {
        // The screen goes with one BitBlt into a DIB section laid out as the picture's rows
        // (a device-dependent bitmap read back with GetDIBits cost a conversion of its own
        // as long again, under Wine), and from there into the picture: a screenful passes
        // through this program's memory once. Every pixel of the section is written anew.
        bool copied = false;
        try {
            DibCanvas& canvas = surface.Sized(width, height, grabbed.BitsPerPixel());
            trace.Step("section");
            copied = screen && ::BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), rect.left, rect.top, rop) != FALSE;
            ::GdiFlush();
            trace.Step("bitblt " + std::to_string(grabbed.BitsPerPixel()));
            if (copied) CopyScreenPixels(canvas.bits(), grabbed);
            trace.Step("copy");
        } catch (const EImageTooLarge&) {
            copied = false;
        }
        // A failed copy leaves the picture black at the new size: nothing is reported.
        if (!copied) std::memset(grabbed.Data(), 0, grabbed.DataSize());
    }
    bitmap = std::move(grabbed);
}

void GrabScreenRect(const Rect& rect, Bitmap& bitmap, GrabSurface& surface) {
    GrabScreenRectWith(rect, bitmap, UseCaptureBlt(SystemVersion()) ? SRCCOPY | CAPTUREBLT : SRCCOPY, surface);
}

void GrabScreen(Bitmap& bitmap, GrabSurface& surface) {
    GrabScreenRect(Rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, bitmap, surface);
}

std::optional<Rect> GrabWindow(HWND window, Bitmap& bitmap, GrabSurface& surface) {
    RECT r;
    if (!window || !::IsWindow(window) || !::GetWindowRect(window, &r)) return std::nullopt;
    const Rect rect = FromRECT(r);
    GrabScreenRect(rect, bitmap, surface);
    return rect;
}

void DrawMouseCursor(Bitmap& bitmap, Point origin, bool inclMouse) {
    if (!inclMouse) return;
    POINT pointer;
    if (!::GetCursorPos(&pointer)) return;
    // The standard arrow, not the shape the pointer has now.
    DrawCursorInto(bitmap, ::LoadCursorA(nullptr, IDC_ARROW), RelativeTo(FromPOINT(pointer), origin),
                   DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}

void DrawCursorInto(Bitmap& bitmap, HCURSOR cursor, Point at, UINT flags) {
    if (bitmap.Empty() || bitmap.BitsPerPixel() < 24) return;
    const int x = at.x, y = at.y;
    // Room for the cursor at any size the system may use.
    const int side = 2 * std::max({::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                   ::GetSystemMetrics(SM_CXCURSOR), ::GetSystemMetrics(SM_CYCURSOR), 32});
    const Rect inside = Intersect(Rect::At(at, Size{side, side}), Rect{0, 0, bitmap.Width(), bitmap.Height()});
    if (inside.Empty()) return;
    const int left = inside.left, top = inside.top, right = inside.right, bottom = inside.bottom;
    // The cursor is drawn over a copy of the pixels under it, then those are put back.
    const std::size_t pixel = std::size_t(bitmap.BitsPerPixel() / 8);
    const std::size_t stride = Bitmap::StrideFor(side, bitmap.BitsPerPixel());
    const std::size_t runBytes = std::size_t(right - left) * pixel;
    DibCanvas canvas(side, side, bitmap.BitsPerPixel());
    auto under = [&](int row) { return canvas.bits() + std::size_t(row - y) * stride + std::size_t(left - x) * pixel; };
    for (int row = top; row < bottom; ++row) std::memcpy(under(row), bitmap.Row(row) + std::size_t(left) * pixel, runBytes);
    ::DrawIconEx(canvas.dc(), 0, 0, cursor, 0, 0, 0, nullptr, flags);
    ::GdiFlush();
    for (int row = top; row < bottom; ++row) std::memcpy(bitmap.Row(row) + std::size_t(left) * pixel, under(row), runBytes);
}

WindowId WinWindowQuery::ForegroundWindow() const {
    return reinterpret_cast<WindowId>(::GetForegroundWindow());
}

std::string WinWindowQuery::ClassName(WindowId window, int bufferSize) const {
    std::string name(std::size_t(std::max(bufferSize, 1)), '\0');
    int length = ::GetClassNameA(reinterpret_cast<HWND>(window), name.data(), bufferSize);
    name.resize(std::size_t(std::max(length, 0)));
    return name;
}

bool WinWindowQuery::Exists(WindowId window) const { return ::IsWindow(reinterpret_cast<HWND>(window)) != FALSE; }

bool WinWindowQuery::OfThisProcess(WindowId window) const {
    DWORD process = 0;
    ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process);
    return process == ::GetCurrentProcessId();
}

bool ConsoleInForeground() { return vimbrel::ConsoleInForeground(WinWindowQuery(), IsWinNT()); }

}  // namespace vimbrel::win32
