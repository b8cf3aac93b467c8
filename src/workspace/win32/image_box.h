#pragma once
// The scroll box that shows the current image (Image1) at its top-left corner, with
// scroll bars whose line steps are 4 pixels across and 5 down. A right click offers the
// image menu through the parent window's WM_CONTEXTMENU.
#include <windows.h>

#include <functional>

#include "commands/command_ports.h"
#include "capture/area_selection.h"
#include "util/win32/window_base.h"
#include "workspace/bitmap.h"

namespace vimbrel::win32 {

class ImageBox : public WindowBase {
public:
    static constexpr const char* kClassName = "TScrollBox";

    HWND Create(HWND parent, int id);
    // Shows the picture without copying it: it must stay until the next Show, as the
    // current image's Image1 does. An empty one clears the box.
    void Show(const Bitmap& picture);

    // The picture's mouse, at the picture's own coordinates (the box's scrolled away parts
    // included); the box holds the mouse from a press to the release.
    std::function<void(MouseButton, Point)> OnMouseDown, OnMouseUp;
    std::function<void(Point)> OnMouseMove;

    // Something drawn over the picture (the markup): while `HasOverlay` answers yes, each
    // paint composes the picture's visible part in memory, hands it to `OnPaintOver` with the
    // shown-picture pixel its top-left shows, and puts the result on the screen at once.
    std::function<bool()> HasOverlay;
    std::function<void(Bitmap& view, Point origin, const Rect& clip)> OnPaintOver;
    // Those shown-picture pixels are painted again soon (all of them with no argument).
    void InvalidateShown(const Rect& shown);
    void InvalidateAll();

    void SetPointer(ImagePointer pointer);
    bool Scrollable() const;
    void ScrollLine(bool horizontal, bool forward) { Scroll(horizontal ? SB_HORZ : SB_VERT, forward ? SB_LINEDOWN : SB_LINEUP); }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void UpdateScrollBars();
    void Scroll(int bar, int code);
    void Paint();
    void PaintComposed(HDC dc, const RECT& area);

    Point PictureAt(LPARAM lp) const;

    ImagePointer pointer_ = ImagePointer::Normal;
    const Bitmap* shown_ = &nothing_;
    Bitmap nothing_;
    POINT origin_{0, 0};  // scroll position
    Bitmap composed_;     // the last composed paint, kept for the next one of its size
};

}  // namespace vimbrel::win32
