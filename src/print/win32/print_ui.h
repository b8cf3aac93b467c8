#pragma once
// The Windows side of image printing: the selected printer's jobs and setup dialog, and the
// notes dialog TfrmGetNotes with the locale's date and time.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "print/image_print_commands.h"
#include "print/win32/printers.h"

namespace vimbrel::win32 {

class WinImagePrinter final : public ImagePrinter {
public:
    WinImagePrinter(HWND owner, WinPrinters& printers) : owner_(owner), printers_(printers) {}
    std::unique_ptr<PrintJob> OpenJob() override;
    void ShowPrintSetup() override;

private:
    HWND owner_;
    WinPrinters& printers_;
};

class WinPrintUi final : public PrintUi {
public:
    explicit WinPrintUi(HWND mainWindow) : mainWindow_(mainWindow) {}
    std::optional<std::vector<std::string>> AskNotes() override;
    std::string ShortDate() override;
    std::string ShortTime() override;

private:
    HWND mainWindow_;
};

// TfrmGetNotes, modal, 15 pixels right of and 25 below the owner's top-left corner.
std::optional<std::vector<std::string>> AskNotesDialog(HWND owner);

}  // namespace vimbrel::win32
