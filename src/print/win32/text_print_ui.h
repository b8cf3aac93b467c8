#pragma once
// The Windows side of console-text printing: the selected printer's text jobs, the clipboard's
// text and PrintTextFont in points.
#include <windows.h>

#include <functional>

#include "print/text_print_commands.h"
#include "print/win32/printers.h"

namespace vimbrel::win32 {

inline constexpr const char* kTextJobTitle = "Vimbrel Print Text";

class WinTextPrinter final : public TextPrinter {
public:
    // printTextFont gives PrintTextFont as it is now (the settings may change its face).
    WinTextPrinter(HWND owner, WinPrinters& printers, std::function<HFONT()> printTextFont)
        : owner_(owner), printers_(printers), printTextFont_(std::move(printTextFont)) {}
    std::unique_ptr<TextJob> OpenTextJob() override;
    std::optional<TextFont> PrintTextFont() override;
    std::optional<std::string> ClipboardText() override;

private:
    HWND owner_;
    WinPrinters& printers_;
    std::function<HFONT()> printTextFont_;
};

// A screen font's face, size in points and style.
TextFont TextFontOf(HFONT font);

}  // namespace vimbrel::win32
