#pragma once
// Print Preview: TPreviewForm shows one printer page with the current image on it, lets the
// user change the print scale with the track bar, a typed percentage, clicks on the page and
// the keypad's plus and minus, and prints the page as shown. The logic lives here; the
// window is a thin skin that calls the handlers below and draws what they ask.
#include <memory>
#include <string>

#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "print/image_print_commands.h"
#include "capture/area_selection.h"
#include "print/preview_scale.h"
#include "workspace/bitmap.h"

namespace vimbrel {

inline constexpr const char* kPreviewCaption = "Print Preview";

// The preview window as its logic drives it.
class PreviewWindow {
public:
    virtual ~PreviewWindow() = default;
    // The page picture takes this size (preview pixels).
    virtual void SetPageSize(PageSize previewPage) = 0;
    // The whole page picture white, the picture stretched into the placement.
    virtual void DrawPage(const Bitmap& picture, const PreviewPlacement& placement) = 0;
    virtual int BarPosition() = 0;
    // Moves trkBar1 without a change notice.
    virtual void SetBarPosition(int position) = 0;
    virtual void SetZoomText(const std::string& text) = 0;
    // memZoom's first line.
    virtual std::string ZoomFirstLine() = 0;
    virtual void SelectZoomText() = 0;
    virtual void Close() = 0;
};

// The selected printer's printable page (printer pixels) in its current orientation, and
// its horizontal resolution.
struct PrinterPage {
    PageSize page;
    int logPixelsX = 0;
};

class PreviewPrinter {
public:
    virtual ~PreviewPrinter() = default;
    // Throws when the printer cannot be reached.
    virtual PrinterPage QueryPage() = 0;
};

class TPreviewForm;

class PreviewUi {
public:
    virtual ~PreviewUi() = default;
    // Makes the window (maximised) for the form, runs it modally and frees it on close.
    virtual void ShowPreview(TPreviewForm& form) = 0;
};

struct PreviewPorts {
    PrinterPort& orientation;
    ImagePrinter& printer;
    PreviewPrinter& page;
    PreviewUi& ui;
    ImagePrintCommands& printing;
};

// Keys the form sees first.
inline constexpr int kKeyAdd = 0x6B;       // the keypad's plus (VK_ADD)
inline constexpr int kKeySubtract = 0x6D;  // the keypad's minus (VK_SUBTRACT)

class TPreviewForm {
public:
    // The picture is copied: the preview shows it as it was when it opened.
    TPreviewForm(const CommandDeps& deps, const PreviewPorts& ports, const Bitmap& picture);

    // The window exists: size the page picture, move the bar, draw.
    void FormCreate(PreviewWindow& window);

    void SetupPreviewPage();
    void DrawPreview();
    void SyncTrackBar();
    void ShowZoomSize();

    void trkBar1Change();
    // Enter in memZoom.
    void memZoomEnterPressed();
    void memZoomEnter();
    void Image1MouseDown(MouseButton button);
    void ScalePlusButtonClick();
    void ScaleMinusButtonClick();
    // A key the form sees before the focused control.
    void FormKeyDown(int key, bool ctrl);
    void SetupSpeedButtonClick();
    void PrintButtonClick();
    void CancelButtonClick();

    double PreviewScale() const { return scale_; }
    double PreviewDivisor() const { return divisor_; }

private:
    PreviewWindow& Window();
    bool Landscape();

    CommandDeps deps_;
    PreviewPorts ports_;
    Bitmap picture_;
    double scale_ = 1.0;
    double divisor_ = 4.0;
    PageSize page_;
    bool landscape_ = false;
    PreviewPlacement placement_;
    bool syncingTrackBar_ = false;
    PreviewWindow* window_ = nullptr;
};

class PreviewCommands {
public:
    PreviewCommands(const CommandDeps& deps, const PreviewPorts& ports);
    void BindTo(CommandRouter& router);

    void PrintPreview1Click();

private:
    CommandDeps deps_;
    PreviewPorts ports_;
};

}  // namespace vimbrel
