#pragma once
// TPreviewForm's window: the top panel with the printer setup, print, zoom and cancel
// controls, and ScrollBox1 with the page picture. Modal over the main window, maximised.
#include <windows.h>

#include "print/preview_commands.h"
#include "print/win32/printers.h"

namespace vimbrel::win32 {

class WinPreviewUi final : public PreviewUi {
public:
    explicit WinPreviewUi(HWND owner) : owner_(owner) {}
    void ShowPreview(TPreviewForm& form) override;

private:
    HWND owner_;
};

// The selected printer's printable page and resolution, from an information context.
class WinPreviewPrinter final : public PreviewPrinter {
public:
    explicit WinPreviewPrinter(WinPrinters& printers) : printers_(printers) {}
    PrinterPage QueryPage() override;

private:
    WinPrinters& printers_;
};

}  // namespace vimbrel::win32
