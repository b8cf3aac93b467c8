#pragma once
// The main window's one picture: the full-size image, the zoomed image it shows, the zoom,
// the status text, the one-step undo and which image commands are enabled.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "util/command_states.h"
#include "workspace/bitmap.h"
#include "util/busy_cursor.h"
#include "util/geometry.h"

namespace vimbrel {

// What the main window does for the current image.
class ImageView {
public:
    virtual ~ImageView() = default;
    // Image1 changed; place it at the top-left corner of the scroll box (0 x 0 when cleared).
    virtual void ShowImage1(const Bitmap& image1) = 0;
    // Status panel 0 of sBar.
    virtual void SetStatusText(const std::string& text) = 0;
    // Message box with the warning icon, titled AppTitle.
    virtual void WarningBox(const std::string& text) = 0;
    // Refresh the notes check marks and status panels 1 to 3 after the enabling table.
    virtual void UpdateNotesState() = 0;
};

// Marks drawn over the picture (the markup), which every output takes with it.
class PictureMarks {
public:
    virtual ~PictureMarks() = default;
    virtual bool Empty() const = 0;
    // A 24-bit copy of `base` with the marks drawn in; `base` is the full-size image at scale
    // 1 or the shown image at the zoom. Throws EImageTooLarge when the copy cannot be held.
    virtual Bitmap DrawnInto(const Bitmap& base, double scale) const = 0;
    // A new picture (a capture, an open, a paste) replaced the old one: the marks go.
    virtual void PictureReplaced() = 0;
    // The picture's pixels changed in place (greys, a stamp, an undo).
    virtual void PictureChanged() = 0;
};

// Line steps of the scroll box scrlBox that holds Image1.
inline constexpr int kScrollLineStepX = 4;
inline constexpr int kScrollLineStepY = 5;

// The twenty zoom menu items: zmi01..zmi10 are k:1, zmo01..zmo10 are 1:k. zmi11..zmi16
// exist in the menu but stay hidden and do nothing.
std::vector<CommandName> ZoomItemNames();

class CurrentImage {
public:
    struct UndoState {
        Bitmap image;
        double zoomFactor = 1.0;
        std::string zoomStatusText;
        std::string captureText;
    };

    // imageEditorSet answers whether the ImageEditor setting names a program.
    CurrentImage(CommandStates& commands, ImageView& view, CursorPort& cursor, std::function<bool()> imageEditorSet);
    CurrentImage(const CurrentImage&) = delete;
    CurrentImage& operator=(const CurrentImage&) = delete;

    // Plain state the other commands read and write directly.
    Bitmap imgMain;                     // the picture at its true size
    std::string CaptureText;            // where the picture came from
    std::string CurrentFileName;        // target of the plain Save
    std::string LastOpenedFile;
    std::uintptr_t StampCursor = 0;     // cursor armed under "Add a cursor"; 0 = none
    Point StampOffset{0, 0};
    Point DragOrigin{-1, -1};           // x = -1 while no hand-drag scroll runs
    std::uintptr_t NextClipboardViewer = 0;
    bool TrueColourDisplay = false;

    const Bitmap& Image1() const { return image1_; }
    double ZoomFactor() const { return zoomFactor_; }
    const std::string& ZoomRatioText() const { return zoomRatioText_; }
    const std::string& ZoomStatusText() const { return zoomStatusText_; }
    bool UndoAvailable() const { return undoAvailable_; }
    bool UndoPrimed() const { return undoPrimed_; }

    // The marks every output takes; none until set.
    void SetMarks(PictureMarks* marks) { marks_ = marks; }
    // The picture as it leaves the program: the full-size image (or the shown one, for the
    // outputs that take it) with the marks drawn in. Without marks it is the image itself;
    // with them a copy that lasts until the next call.
    const Bitmap& Outgoing(bool shown);
    // A new picture replaced the old one whole: the marks of the old one go.
    void NewPicture();

    // The start-up state of the commands: no picture, no undo, zoom items at 1:1.
    void Start();

    // Before every change of imgMain. The first call of the run only primes.
    void TakeUndoSnapshot();
    // TakeUndoSnapshot, then imgMain becomes picture: for a new picture that replaces the old
    // one whole (a capture), the old one moves into the undo slot instead of being copied.
    void TakeUndoSnapshotAndReplace(Bitmap picture);
    // The picture that the next TakeUndoSnapshotAndReplace will drop from the undo slot,
    // lent out so that a grab can reuse its memory (a screenful of fresh memory costs a
    // page fault per page on first touch); empty when there is none. Until that call, or
    // ReturnSpare when the capture does not happen, Undo must not run.
    Bitmap TakeSpare();
    void ReturnSpare(Bitmap spare);
    // Draws into the shown picture (a stamp) and shows the result.
    void DrawIntoShown(const std::function<void(Bitmap&)>& draw);
    // Rebuilds Image1 from source (imgMain) at factor and hands it to the view.
    void RenderShownImage(const Bitmap& source, double factor);
    void SetZoom(int n, int d);
    // Back to 1:1 without rendering; the callers render.
    void ResetZoom();
    // A zoom menu item chosen, by its ratio: k for "k : 1" (zmi), -k for "1 : k" (zmo),
    // k from 1 to 10. Others are ignored.
    void ZoomItemClick(int ratio);
    // Undo (mnuUndo, btnUndo, popUndo, Ctrl+Z).
    void mnuUndoClick();
    // Clear Capture (Clear1, btnClear, popClear).
    void Clear1Click();
    void EnableImageCommands(bool present);
    void ShowCaptureStatus();
    // "(" width "x " height ")" " - " CaptureText ZoomStatusText, sizes of Image1.
    std::string CaptureStatusText() const;

private:
    void SetUndoControls(bool enabled);
    void NotZoomable();
    void UncheckZoomItems();

    CommandStates& commands_;
    ImageView& view_;
    CursorPort& cursor_;
    std::function<bool()> imageEditorSet_;

    PictureMarks* marks_ = nullptr;
    Bitmap outgoing_;
    Bitmap image1_;
    double zoomFactor_ = 1.0;
    std::string zoomRatioText_;
    std::string zoomStatusText_;
    UndoState undoSlot_;
    bool undoAvailable_ = false;
    bool undoPrimed_ = false;
};

}  // namespace vimbrel
