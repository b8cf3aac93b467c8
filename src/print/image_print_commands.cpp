#include "print/image_print_commands.h"

#include <exception>

#include "desktop/sys_hotkey.h"
#include "print/print_routines.h"
#include "workspace/current_image.h"

namespace vimbrel {
namespace {

// Status panel 0 says the print is under way and shows the picture's status again at the
// end, however the print ends.
class PrintingStatus {
public:
    PrintingStatus(MainView& view, CurrentImage& image) : view_(view), image_(image) {
        view_.SetStatusText(kPrintingStatus);
    }
    ~PrintingStatus() {
        view_.SetStatusText("");
        image_.ShowCaptureStatus();
    }
    PrintingStatus(const PrintingStatus&) = delete;
    PrintingStatus& operator=(const PrintingStatus&) = delete;

private:
    MainView& view_;
    CurrentImage& image_;
};

}  // namespace

void AutoOrientPrinter(const OptionFlags& flags, PrinterPort& printer, const Bitmap& picture) {
    if (!flags.AutoOrient) return;
    printer.SetOrientation(PrintsLandscape(picture.Width(), picture.Height()) ? PrinterOrientation::Landscape
                                                                              : PrinterOrientation::Portrait);
}

ImagePrintCommands::ImagePrintCommands(const CommandDeps& deps, const PrintPorts& ports)
    : deps_(deps), ports_(ports) {}

void ImagePrintCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::Print, [this] { Print1Click(); });
    router.Bind(handler::PrintWithNotes, [this] { PrintImage(true); });
    router.Bind(handler::PrintSetup, [this] { PrintSetup1Click(); });
}

void ImagePrintCommands::PrintImage(bool askNotes) {
    // Print is enabled only with a picture and a printer; every way in is checked here.
    if (!deps_.commands.Enabled(cmd::Print1) || deps_.image.imgMain.Empty()) return;
    HotKeysOff hotKeysOff(deps_.hotKeys);
    if (askNotes && !AskPrintNotes()) return;
    PrintingStatus status(deps_.view, deps_.image);
    BusyCursor busy(deps_.cursor);
    AutoOrientPrinter(deps_.flags, ports_.orientation, deps_.image.imgMain);
    try {
        PrintJobPages(askNotes);
    } catch (const EImageTooLarge& e) {
        deps_.dialogs.Warning(e.what());
    } catch (const std::exception&) {
        deps_.dialogs.Warning(kPrinterProblem);
    }
}

void ImagePrintCommands::PrintJobPages(bool askNotes) {
    const Bitmap& picture = deps_.image.Outgoing(false);
    const bool landscape = ports_.orientation.QueryOrientation() == PrinterOrientation::Landscape;
    PrintPicture(
        picture,
        [&](PageSize page) {
            return ClampToPage(LayoutPicture(PrintStyleFromText(deps_.flags.PrintStyle), page, landscape,
                                             picture.Width(), picture.Height(), deps_.image.ZoomFactor()),
                               page);
        },
        askNotes);
}

void ImagePrintCommands::PrintPicture(const Bitmap& picture, const std::function<PrintLayout(PageSize)>& layoutFor,
                                      bool withNotes) {
    std::unique_ptr<PrintJob> job = ports_.printer.OpenJob();
    const PrintLayout layout = layoutFor(PageSize{job->PageWidth(), job->PageHeight()});
    job->BeginDoc(kPrintJobTitle);
    try {
        if (deps_.flags.PrintDate) PrintDateLine(*job, layout, DateLineText(ports_.ui.ShortDate(), ports_.ui.ShortTime()));
        PrintBitmap(*job, layout.left, layout.top, layout.Width(), layout.Height(), picture);
        if (withNotes) PrintNotesLines(*job, layout, notes_);
        if (deps_.flags.Eject) job->NewPage();
        job->EndDoc();
    } catch (...) {
        // A job left open would hold the printer: the next print could not begin.
        job->AbortDoc();
        throw;
    }
}

bool ImagePrintCommands::AskPrintNotes() {
    std::optional<std::vector<std::string>> lines = ports_.ui.AskNotes();
    if (!lines) {
        notes_.clear();
        return false;
    }
    notes_ = std::move(*lines);
    return true;
}

void ImagePrintCommands::PrintSetup1Click() {
    BusyCursor busy(deps_.cursor);
    ports_.printer.ShowPrintSetup();
}

}  // namespace vimbrel
