#include "workspace/current_image.h"

#include <new>
#include <utility>

#include "workspace/zoom.h"

namespace vimbrel {

namespace {

constexpr CommandName kUndoControls[] = {cmd::mnuUndo, cmd::btnUndo, cmd::popUndo};

constexpr CommandName kPresentCommands[] = {
    cmd::SaveAs1, cmd::SaveAs2, cmd::mnuSaveEncrypted, cmd::Clear1, cmd::mnuCopy, cmd::mOptGrey, cmd::btnSave,
    cmd::btnCopy, cmd::btnClear, cmd::btnCrop, cmd::popClear, cmd::popCopy, cmd::popCrop, cmd::popGrey, cmd::popSave,
    cmd::mnuZoomIn, cmd::mnuZoomOut, cmd::mnuAddCursor, cmd::mnuSendMail, cmd::btnEmail};
constexpr CommandName kPrintCommands[] = {cmd::Print1, cmd::PrintButton, cmd::popPrint, cmd::PrintPreview1, cmd::btnPrtPreview, cmd::popPreview};
constexpr CommandName kEditorCommands[] = {cmd::mnuEditor, cmd::popSendToEditor};
constexpr CommandName kAlwaysCommands[] = {cmd::mnuEncryption, cmd::mnuCaptureAreaNow, cmd::btnSelect, cmd::mnuAutoSave, cmd::popAutoSave, cmd::popEmail};

}  // namespace

std::vector<CommandName> ZoomItemNames() {
    std::vector<CommandName> names;
    for (int k = 1; k <= 10; ++k) names.push_back(cmd::ZoomIn(k));
    for (int k = 1; k <= 10; ++k) names.push_back(cmd::ZoomOut(k));
    return names;
}

CurrentImage::CurrentImage(CommandStates& commands, ImageView& view, CursorPort& cursor,
                           std::function<bool()> imageEditorSet)
    : commands_(commands), view_(view), cursor_(cursor), imageEditorSet_(std::move(imageEditorSet)) {}

void CurrentImage::Start() {
    for (int k = 11; k <= 16; ++k) commands_.SetVisible(cmd::ZoomIn(k), false);
    UncheckZoomItems();
    commands_.SetChecked(cmd::zmi01, true);
    commands_.SetChecked(cmd::zmo01, true);
    SetUndoControls(false);
    EnableImageCommands(false);
}

void CurrentImage::SetUndoControls(bool enabled) {
    for (CommandName name : kUndoControls) commands_.SetEnabled(name, enabled);
}

void CurrentImage::UncheckZoomItems() {
    for (CommandName name : ZoomItemNames()) commands_.SetChecked(name, false);
}

void CurrentImage::TakeUndoSnapshot() {
    if (!undoPrimed_) {
        undoPrimed_ = true;
        return;
    }
    // Copy first: a failed copy leaves the earlier slot as it was.
    UndoState snapshot{imgMain, zoomFactor_, zoomStatusText_, CaptureText};
    undoSlot_ = std::move(snapshot);
    undoAvailable_ = true;
    SetUndoControls(true);
}

void CurrentImage::TakeUndoSnapshotAndReplace(Bitmap picture) {
    if (!undoPrimed_) {
        undoPrimed_ = true;
    } else {
        undoSlot_ = UndoState{std::move(imgMain), zoomFactor_, zoomStatusText_, CaptureText};
        undoAvailable_ = true;
        SetUndoControls(true);
    }
    imgMain = std::move(picture);
    NewPicture();
}

Bitmap CurrentImage::TakeSpare() {
    if (!undoPrimed_) return Bitmap();
    return std::move(undoSlot_.image);
}

void CurrentImage::ReturnSpare(Bitmap spare) {
    if (undoSlot_.image.Empty()) undoSlot_.image = std::move(spare);
}

void CurrentImage::DrawIntoShown(const std::function<void(Bitmap&)>& draw) {
    draw(image1_);
    view_.ShowImage1(image1_);
    if (marks_) marks_->PictureChanged();
}

const Bitmap& CurrentImage::Outgoing(bool shown) {
    const Bitmap& base = shown ? image1_ : imgMain;
    outgoing_ = Bitmap();
    if (!marks_ || marks_->Empty()) return base;
    outgoing_ = marks_->DrawnInto(base, shown ? zoomFactor_ : 1.0);
    return outgoing_;
}

void CurrentImage::NewPicture() {
    if (marks_) marks_->PictureReplaced();
}

void CurrentImage::RenderShownImage(const Bitmap& source, double factor) {
    // The view lets go of the old picture before the new one is built, so a zoom never
    // holds the old and the new shown image at once.
    image1_ = Bitmap();
    view_.ShowImage1(image1_);
    try {
        int width = ScaledSide(source.Width(), factor);
        int height = ScaledSide(source.Height(), factor);
        image1_ = ScaleNearest(source, width, height);
        view_.ShowImage1(image1_);
        if (marks_) marks_->PictureChanged();
    } catch (const EImageTooLarge&) {
        NotZoomable();
    } catch (const std::bad_alloc&) {
        NotZoomable();
    }
}

void CurrentImage::NotZoomable() {
    // Whatever ran out of memory (the scaling or the view's own copy), the view ends empty.
    image1_ = Bitmap();
    view_.ShowImage1(image1_);
    view_.WarningBox("Zooming this image to " + zoomRatioText_ + " is not possible\r\nTry a smaller ratio");
}

void CurrentImage::SetZoom(int n, int d) {
    BusyCursor busy(cursor_);
    UncheckZoomItems();
    zoomFactor_ = double(n) / double(d);
    if (n + d == 2) {
        zoomStatusText_.clear();
        zoomRatioText_.clear();
        commands_.SetEnabled(cmd::mnuAddCursor, true);
    } else {
        commands_.SetEnabled(cmd::mnuAddCursor, false);
        zoomRatioText_ = FormatZoomRatio(n, d);
        zoomStatusText_ = " -  Viewed at: " + zoomRatioText_;
    }
    RenderShownImage(imgMain, zoomFactor_);
    ShowCaptureStatus();
}

void CurrentImage::ResetZoom() {
    zoomFactor_ = 1.0;
    zoomStatusText_.clear();
    UncheckZoomItems();
    commands_.SetChecked(cmd::zmi01, true);
    commands_.SetChecked(cmd::zmo01, true);
    commands_.SetEnabled(cmd::mnuAddCursor, commands_.Enabled(cmd::Print1));
}

void CurrentImage::ZoomItemClick(int ratio) {
    const int k = ratio < 0 ? -ratio : ratio;
    if (k < 1 || k > 10) return;
    if (k == 1) {
        SetZoom(1, 1);
        ResetZoom();
        return;
    }
    if (ratio > 0)
        SetZoom(k, 1);
    else
        SetZoom(1, k);
    commands_.SetChecked(ratio > 0 ? cmd::ZoomIn(k) : cmd::ZoomOut(k), true);
}

void CurrentImage::mnuUndoClick() {
    if (!undoAvailable_) return;
    undoAvailable_ = false;
    SetUndoControls(false);
    imgMain = undoSlot_.image;
    zoomFactor_ = undoSlot_.zoomFactor;
    zoomStatusText_ = undoSlot_.zoomStatusText;
    CaptureText = undoSlot_.captureText;
    RenderShownImage(imgMain, zoomFactor_);
    ShowCaptureStatus();
    if (!commands_.Enabled(cmd::Clear1)) EnableImageCommands(true);
}

void CurrentImage::Clear1Click() {
    TakeUndoSnapshot();
    image1_ = Bitmap();
    view_.ShowImage1(image1_);
    EnableImageCommands(false);
    view_.SetStatusText("");
}

void CurrentImage::EnableImageCommands(bool present) {
    for (CommandName name : kPresentCommands) commands_.SetEnabled(name, present);
    bool printable = present && imgMain.Width() > 0 && imgMain.Height() > 0 && commands_.Enabled(cmd::PrintSetup1);
    for (CommandName name : kPrintCommands) commands_.SetEnabled(name, printable);
    bool editor = present && imageEditorSet_ && imageEditorSet_();
    for (CommandName name : kEditorCommands) commands_.SetEnabled(name, editor);
    for (CommandName name : kAlwaysCommands) commands_.SetEnabled(name, true);
    view_.UpdateNotesState();
}

std::string CurrentImage::CaptureStatusText() const {
    return "(" + std::to_string(image1_.Width()) + "x " + std::to_string(image1_.Height()) + ")" + " - " + CaptureText +
           zoomStatusText_;
}

void CurrentImage::ShowCaptureStatus() { view_.SetStatusText(CaptureStatusText()); }

}  // namespace vimbrel
