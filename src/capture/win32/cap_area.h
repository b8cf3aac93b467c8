#pragma once
// The area overlay: a frozen copy of the desktop, shown borderless and topmost over it,
// on which the user drags a rectangle with the left mouse button.
#include <windows.h>

#include <exception>
#include <functional>
#include <utility>

#include "capture/area_selection.h"
#include "util/win32/window_base.h"
#include "workspace/bitmap.h"

namespace vimbrel::win32 {

class TfrmCapArea : public WindowBase {
public:
    static constexpr int kModalOk = 1;      // a mouse button was released over the overlay
    static constexpr int kModalCancel = 2;  // closed by the window system

    // FormCreate: copies the whole desktop (every monitor) once and makes the (hidden)
    // window over it, owned by owner so it has no taskbar button of its own.
    explicit TfrmCapArea(HWND owner = nullptr);

    // Shows the overlay and runs its messages until it closes, the owner disabled meanwhile;
    // returns the modal result.
    int ShowModal();

    // F1 on the overlay.
    std::function<void()> OnHelp;

    // In the window's coordinates; not normalised; all zero unless the left button went down.
    const Rect& SelectionRect() const { return selection_.SelectionRect(); }
    // The window's (and the copy's) top-left corner on the screen.
    Point Origin() const { return origin_; }
    const Bitmap& ScreenImage() const { return screenImage_; }
    Bitmap TakeScreenImage() { return std::move(screenImage_); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Never into Windows: ShowModal hands the failure to its caller.
    void OnFailure(std::exception_ptr failure) override;
    void FormPaint();
    void Invert(const SelectionStep& step);
    void EndModal(int result);

    HWND owner_;
    Point origin_;
    Bitmap screenImage_;
    AreaSelection selection_;
    int modalResult_ = 0;
    std::exception_ptr failure_;
};

// The overlay as the area capture uses it: one new TfrmCapArea per run.
class WinAreaOverlay : public AreaOverlay {
public:
    explicit WinAreaOverlay(HWND owner = nullptr, std::function<void()> help = {})
        : owner_(owner), help_(std::move(help)) {}
    AreaChoice Run() override;

private:
    HWND owner_;
    std::function<void()> help_;
};

}  // namespace vimbrel::win32
