#pragma once
// A print job on a printer device context, and the locale's short date and time for its
// date line.
#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "print/print_canvas.h"
#include "print/text_print.h"
#include "util/win32/gdi_handles.h"

namespace vimbrel::win32 {

class EPrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WinPrintJob final : public PrintJob {
public:
    // The printer's device context with these device settings (a DEVMODEA; empty for the
    // printer's own). Throws EPrinterError when there is none.
    WinPrintJob(const std::string& printerName, const std::vector<char>& deviceMode);
    // A document still open is abandoned.
    ~WinPrintJob() override;

    std::int32_t PageWidth() const override;
    std::int32_t PageHeight() const override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void WriteText(int x, int y, const std::string& text) override;
    void WriteTextClipped(int x, int y, const Rect& clip, const std::string& text) override;
    void NewPage() override;
    void StretchPicture(int x, int y, int width, int height, const PrintableDib& picture) override;

    void BeginDoc(const std::string& title) override;
    void EndDoc() override;
    void AbortDoc() override;

    // The texts that follow are written in this font, its size in points on this printer.
    void SetFont(const TextFont& font);
    TEXTMETRICA Metrics();
    SIZE Extent(std::string_view text);
    void WriteRun(int x, int y, std::string_view text);

private:
    UniquePrinterDC dc_;
    bool open_ = false;
    UniqueFont font_;
    std::optional<SelectedObject> selectedFont_;
};

// GetDateFormat / GetTimeFormat of the user's locale: the short date, the time without seconds.
std::string LocaleShortDate();
std::string LocaleShortTime();

}  // namespace vimbrel::win32
