#include "workspace/current_image.h"

#include <cstdio>
#include <new>
#include <utility>

#include "workspace/zoom.h"

namespace vimbrel {

namespace {

const char* const kUndoControls[] = {"mnuUndo", "btnUndo", "popUndo"};

const char* const kPresentCommands[] = {
    "SaveAs1", "SaveAs2", "mnuSaveEncrypted", "Clear1", "mnuCopy", "mOptGrey", "btnSave",
    "btnCopy", "btnClear", "btnCrop", "popClear", "popCopy", "popCrop", "popGrey", "popSave",
    "mnuZoomIn", "mnuZoomOut", "mnuAddCursor", "mnuSendMail", "btnEmail"};
const char* const kPrintCommands[] = {"Print1", "PrintButton", "popPrint", "PrintPreview1", "btnPrtPreview", "popPreview"};
const char* const kEditorCommands[] = {"mnuEditor", "popSendToEditor"};
const char* const kAlwaysCommands[] = {"mnuEncryption", "mnuCaptureAreaNow", "btnSelect", "mnuAutoSave", "popAutoSave", "popEmail"};

std::string ItemName(const char* prefix, int k) {
    char name[8];
    std::snprintf(name, sizeof name, "%s%02d", prefix, k);
    return name;
}

}  // namespace

std::vector<std::string> ZoomItemNames() {
    std::vector<std::string> names;
    for (int k = 1; k <= 10; ++k) names.push_back(ItemName("zmi", k));
    for (int k = 1; k <= 10; ++k) names.push_back(ItemName("zmo", k));
    return names;
}

CurrentImage::CurrentImage(CommandStates& commands, ImageView& view, CursorPort& cursor,
                           std::function<bool()> imageEditorSet)
    : commands_(commands), view_(view), cursor_(cursor), imageEditorSet_(std::move(imageEditorSet)) {}

void CurrentImage::Start() {
    for (int k = 11; k <= 16; ++k) commands_.SetVisible(ItemName("zmi", k), false);
    UncheckZoomItems();
    commands_.SetChecked("zmi01", true);
    commands_.SetChecked("zmo01", true);
    SetUndoControls(false);
    EnableImageCommands(false);
}

void CurrentImage::SetUndoControls(bool enabled) {
    for (const char* name : kUndoControls) commands_.SetEnabled(name, enabled);
}

void CurrentImage::UncheckZoomItems() {
    for (const std::string& name : ZoomItemNames()) commands_.SetChecked(name, false);
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
}

void CurrentImage::DrawIntoShown(const std::function<void(Bitmap&)>& draw) {
    draw(image1_);
    view_.ShowImage1(image1_);
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
        commands_.SetEnabled("mnuAddCursor", true);
    } else {
        commands_.SetEnabled("mnuAddCursor", false);
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
    commands_.SetChecked("zmi01", true);
    commands_.SetChecked("zmo01", true);
    commands_.SetEnabled("mnuAddCursor", commands_.Enabled("Print1"));
}

void CurrentImage::ZoomItemClick(const std::string& item) {
    if (item.size() != 5 || (item.compare(0, 3, "zmi") != 0 && item.compare(0, 3, "zmo") != 0)) return;
    if (item[3] < '0' || item[3] > '9' || item[4] < '0' || item[4] > '9') return;
    int k = (item[3] - '0') * 10 + (item[4] - '0');
    if (k < 1 || k > 10) return;
    bool zoomIn = item[2] == 'i';
    if (k == 1) {
        SetZoom(1, 1);
        ResetZoom();
        return;
    }
    if (zoomIn)
        SetZoom(k, 1);
    else
        SetZoom(1, k);
    commands_.SetChecked(item, true);
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
    if (!commands_.Enabled("Clear1")) EnableImageCommands(true);
}

void CurrentImage::Clear1Click() {
    TakeUndoSnapshot();
    image1_ = Bitmap();
    view_.ShowImage1(image1_);
    EnableImageCommands(false);
    view_.SetStatusText("");
}

void CurrentImage::EnableImageCommands(bool present) {
    for (const char* name : kPresentCommands) commands_.SetEnabled(name, present);
    bool printable = present && imgMain.Width() > 0 && imgMain.Height() > 0 && commands_.Enabled("PrintSetup1");
    for (const char* name : kPrintCommands) commands_.SetEnabled(name, printable);
    bool editor = present && imageEditorSet_ && imageEditorSet_();
    for (const char* name : kEditorCommands) commands_.SetEnabled(name, editor);
    for (const char* name : kAlwaysCommands) commands_.SetEnabled(name, true);
    view_.UpdateNotesState();
}

std::string CurrentImage::CaptureStatusText() const {
    return "(" + std::to_string(image1_.Width()) + "x " + std::to_string(image1_.Height()) + ")" + " - " + CaptureText +
           zoomStatusText_;
}

void CurrentImage::ShowCaptureStatus() { view_.SetStatusText(CaptureStatusText()); }

}  // namespace vimbrel
