#pragma once
// Printing the current image: Print (Ctrl+P), Print with notes (Ctrl+N) and Print Setup. One
// page of the selected printer in the "PrintStyle" layout, with the date line above the
// picture and the typed notes below it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "print/print_canvas.h"
#include "print/print_layout.h"
#include "workspace/bitmap.h"

namespace vimbrel {

inline constexpr const char* kPrintJobTitle = "Vimbrel Print Image";
inline constexpr const char* kPrintingStatus = "Printing........";
inline constexpr const char* kPrinterProblem = "Printer problem - Unable to print image";

// The selected printer as the print commands use it; its orientation is set through the
// PrinterPort the settings share.
class ImagePrinter {
public:
    virtual ~ImagePrinter() = default;
    // A job on the selected printer in its current orientation, not yet begun. Throws when
    // the printer cannot be reached.
    virtual std::unique_ptr<PrintJob> OpenJob() = 0;
    // The system's printer-setup dialog (printer, paper, orientation).
    virtual void ShowPrintSetup() = 0;
};

// The user's side of a print: the notes dialog and the clock of the date line.
class PrintUi {
public:
    virtual ~PrintUi() = default;
    // TfrmGetNotes: the memo's lines on OK, nothing on Cancel or close.
    virtual std::optional<std::vector<std::string>> AskNotes() = 0;
    // The system's short date and short time of now.
    virtual std::string ShortDate() = 0;
    virtual std::string ShortTime() = 0;
};

struct PrintPorts {
    PrinterPort& orientation;
    ImagePrinter& printer;
    PrintUi& ui;
};

// With "AutoOrient" on, the printer turns to landscape for a picture wider than high and
// to portrait otherwise.
void AutoOrientPrinter(const OptionFlags& flags, PrinterPort& printer, const Bitmap& picture);

class ImagePrintCommands {
public:
    ImagePrintCommands(const CommandDeps& deps, const PrintPorts& ports);
    void BindTo(CommandRouter& router);

    void Print1Click() { PrintImage(deps_.flags.PrintNotes); }
    void PrintImage(bool askNotes);
    // True when the user confirmed; PrintNotesText holds the lines, or nothing on cancel.
    bool AskPrintNotes();
    void PrintSetup1Click();

    // One job: the date line, the picture where layoutFor puts it on the job's page, the
    // notes when withNotes, a new page when "Eject" is on. A failed job is abandoned and the
    // failure passes on.
    void PrintPicture(const Bitmap& picture, const std::function<PrintLayout(PageSize)>& layoutFor, bool withNotes);

    const std::vector<std::string>& PrintNotesText() const { return notes_; }

private:
    void PrintJobPages(bool askNotes);

    CommandDeps deps_;
    PrintPorts ports_;
    std::vector<std::string> notes_;
};

}  // namespace vimbrel
