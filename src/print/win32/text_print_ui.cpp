#include "print/win32/text_print_ui.h"

#include <cstring>

#include "print/win32/text_job.h"
#include "util/win32/gdi_handles.h"

namespace vimbrel::win32 {
namespace {
constexpr int kPointsPerInch = 72;
}

TextFont TextFontOf(HFONT font) {
    LOGFONTA lf{};
    ::GetObjectA(font, sizeof lf, &lf);
    WindowDC screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    TextFont text;
    text.face = lf.lfFaceName;
    // A negative height is the characters' height, a positive one the cell's; either way
    // the size carries over in points, not pixels.
    const int pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    text.points = pixels == 0 ? DefaultTextFont().points : ::MulDiv(pixels, kPointsPerInch, dpi);
    text.bold = lf.lfWeight >= FW_BOLD;
    text.italic = lf.lfItalic != 0;
    text.underline = lf.lfUnderline != 0;
    text.strikeOut = lf.lfStrikeOut != 0;
    return text;
}

std::unique_ptr<TextJob> WinTextPrinter::OpenTextJob() {
    // Reading the orientation loads the printer's device settings when none are held yet.
    printers_.QueryOrientation();
    return std::make_unique<WinTextJob>(printers_.SelectedPrinter(), printers_.DeviceMode(), kTextJobTitle);
}

std::optional<TextFont> WinTextPrinter::PrintTextFont() {
    HFONT font = printTextFont_ ? printTextFont_() : nullptr;
    if (!font) return std::nullopt;
    return TextFontOf(font);
}

std::optional<std::string> WinTextPrinter::ClipboardText() {
    OpenClipboardScope clipboard(owner_);
    if (!clipboard) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    GlobalLockGuard<char> text(data);
    if (!text.get()) return std::nullopt;
    // The text ends at its first NUL, and never past the block.
    const std::size_t size = ::GlobalSize(data);
    const void* end = std::memchr(text.get(), 0, size);
    const std::size_t length = end ? std::size_t(static_cast<const char*>(end) - text.get()) : size;
    return std::string(text.get(), length);
}

}  // namespace vimbrel::win32
