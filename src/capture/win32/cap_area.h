#pragma once
// The area overlay: a frozen copy of the desktop, shown borderless and topmost over it,
// on which the user drags a rectangle with the left mouse button.
#include <windows.h>

#include <exception>
#include <utility>

#include "capture/area_selection.h"
#include "util/win32/window_base.h"
#include "workspace/bitmap.h"

namespace vimbrel::win32 {

class TfrmCapArea : public WindowBase {
public:
    static constexpr int kModalOk = 1;      // a mouse button was released over the overlay
    static constexpr int kModalCancel = 2;  // closed by the window system

    // FormCreate: copies the desktop once and makes the (hidden) window over it.
    TfrmCapArea();

    // Shows the overlay and runs its messages until it closes; returns the modal result.
    int ShowModal();

    // Not normalised; all zero unless the left button went down.
    const Rect& SelectionRect() const { return selection_.SelectionRect(); }
    const Bitmap& ScreenImage() const { return screenImage_; }
    Bitmap TakeScreenImage() { return std::move(screenImage_); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Never into Windows: ShowModal hands the failure to its caller.
    void OnFailure(std::exception_ptr failure) override;
    void FormPaint();
    void Invert(const SelectionStep& step);
    void EndModal(int result);

    Bitmap screenImage_;
    AreaSelection selection_;
    int modalResult_ = 0;
    std::exception_ptr failure_;
};

// The overlay as the area capture uses it: one new TfrmCapArea per run.
class WinAreaOverlay : public AreaOverlay {
public:
    AreaChoice Run() override;
};

}  // namespace vimbrel::win32
