#include "print/preview_commands.h"

#include <algorithm>
#include <stdexcept>

#include "desktop/sys_hotkey.h"
#include "util/scoped_value.h"
#include "workspace/current_image.h"

namespace vimbrel {

TPreviewForm::TPreviewForm(const CommandDeps& deps, const PreviewPorts& ports, const Bitmap& picture)
    : deps_(deps), ports_(ports), picture_(picture) {
    page_ = ports_.page.QueryPage().page;
    scale_ = InitialPreviewScale(PrintStyleFromText(deps_.flags.PrintStyle), page_, picture_.Width(),
                                 picture_.Height(), deps_.image.ZoomFactor());
}

PreviewWindow& TPreviewForm::Window() {
    if (!window_) throw std::logic_error("The preview has no window");
    return *window_;
}

bool TPreviewForm::Landscape() {
    return ports_.orientation.QueryOrientation() == PrinterOrientation::Landscape;
}

void TPreviewForm::FormCreate(PreviewWindow& window) {
    window_ = &window;
    SetupPreviewPage();
    SyncTrackBar();
    DrawPreview();
}

void TPreviewForm::SetupPreviewPage() {
    const PrinterPage printer = ports_.page.QueryPage();
    page_ = printer.page;
    landscape_ = Landscape();
    divisor_ = vimbrel::PreviewDivisor(printer.logPixelsX, landscape_);
    Window().SetPageSize(PreviewPageSize(page_, divisor_));
    ShowZoomSize();
}

void TPreviewForm::DrawPreview() {
    placement_ = PlacePreview(PreviewPageSize(page_, divisor_), divisor_, landscape_, picture_.Width(),
                              picture_.Height(), scale_);
    Window().DrawPage(picture_, placement_);
}

void TPreviewForm::trkBar1Change() {
    if (syncingTrackBar_) {
        Window().SetBarPosition(PreviewBarPosition(scale_));
        return;
    }
    scale_ = PreviewScaleForBar(Window().BarPosition());
    ShowZoomSize();
    DrawPreview();
}

void TPreviewForm::SyncTrackBar() {
    const ScopedValue<bool> syncing(syncingTrackBar_, true);
    trkBar1Change();
}

void TPreviewForm::ShowZoomSize() {
    Window().SetZoomText("");
    // Written whatever the messages let run met: a program ended meanwhile closes the
    // preview soon after, and until then the box shows the scale.
    deps_.view.LetPendingMessagesRun();
    Window().SetZoomText(PreviewZoomText(scale_));
}

void TPreviewForm::memZoomEnterPressed() {
    scale_ = TypedPreviewScale(Window().ZoomFirstLine());
    SyncTrackBar();
    DrawPreview();
    ShowZoomSize();
    Window().SelectZoomText();
}

void TPreviewForm::memZoomEnter() { Window().SelectZoomText(); }

void TPreviewForm::Image1MouseDown(MouseButton button) {
    if (button == MouseButton::Left) ScalePlusButtonClick();
    else if (button == MouseButton::Right) ScaleMinusButtonClick();
}

void TPreviewForm::ScalePlusButtonClick() {
    scale_ += 0.1;
    ShowZoomSize();
    SyncTrackBar();
    DrawPreview();
}

void TPreviewForm::ScaleMinusButtonClick() {
    if (scale_ <= 1.0) return;
    scale_ -= 0.1;
    ShowZoomSize();
    SyncTrackBar();
    DrawPreview();
}

void TPreviewForm::FormKeyDown(int key, bool ctrl) {
    if (ctrl) {
        if (key == 'P') PrintButtonClick();
        return;
    }
    if (key != kKeyAdd && key != kKeySubtract) return;
    const int step = key == kKeyAdd ? kPreviewBarPageStep : -kPreviewBarPageStep;
    Window().SetBarPosition(std::clamp(Window().BarPosition() + step, kPreviewBarMin, kPreviewBarMax));
    trkBar1Change();
}

void TPreviewForm::SetupSpeedButtonClick() {
    {
        BusyCursor busy(deps_.cursor);
        ports_.printer.ShowPrintSetup();
    }
    SetupPreviewPage();
    DrawPreview();
}

void TPreviewForm::PrintButtonClick() {
    const bool withNotes = deps_.flags.PrintNotes;
    if (withNotes && !ports_.printing.AskPrintNotes()) return;
    // What is printed is what the preview shows: its own placement, not the style's.
    {
        BusyCursor busy(deps_.cursor);
        const PreviewPlacement placement = placement_;
        ports_.printing.PrintPicture(
            picture_,
            [&](PageSize page) {
                return PreviewPrintLayout(placement, divisor_, picture_.Width(), picture_.Height(), scale_, page);
            },
            withNotes);
    }
    Window().Close();
}

void TPreviewForm::CancelButtonClick() { Window().Close(); }

PreviewCommands::PreviewCommands(const CommandDeps& deps, const PreviewPorts& ports) : deps_(deps), ports_(ports) {}

void PreviewCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::PrintPreview, [this] { PrintPreview1Click(); });
}

void PreviewCommands::PrintPreview1Click() {
    // Enabled exactly when Print is: a picture and a printer.
    if (!deps_.commands.Enabled(cmd::PrintPreview1) || deps_.image.imgMain.Empty()) return;
    HotKeysOff hotKeysOff(deps_.hotKeys);
    // The page shows the picture with its marks; printing from the preview makes its own
    // marked copy, so the preview keeps this one for itself.
    Bitmap marked;
    std::unique_ptr<TPreviewForm> form;
    {
        BusyCursor busy(deps_.cursor);
        AutoOrientPrinter(deps_.flags, ports_.orientation, deps_.image.imgMain);
        const Bitmap& outgoing = deps_.image.Outgoing(false);
        if (&outgoing != &deps_.image.imgMain) marked = outgoing;
        form = std::make_unique<TPreviewForm>(deps_, ports_, marked.Empty() ? deps_.image.imgMain : marked);
    }
    ports_.ui.ShowPreview(*form);
}

}  // namespace vimbrel
