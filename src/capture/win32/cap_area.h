#pragma once
// The area overlay: a frozen copy of the desktop, shown borderless and topmost over it and
// dimmed outside the selection, with the size of the selection beside it and a magnifier
// near the pointer. A drag in any direction selects; a click takes the window under it;
// the arrow keys place the pointer pixel by pixel, Enter takes, Escape or a right click
// cancels.
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "capture/area_selection.h"
#include "capture/win32/dib_canvas.h"
#include "util/win32/handles.h"
#include "util/win32/window_base.h"
#include "workspace/bitmap.h"

namespace vimbrel::win32 {

class TfrmCapArea : public WindowBase {
public:
    static constexpr int kModalOk = 1;      // something was taken (maybe nothing: a click on no window)
    static constexpr int kModalCancel = 2;  // cancelled, or closed by the window system

    // FormCreate: copies the whole desktop (every monitor) once, notes the windows on it
    // and makes the (hidden) window over it, owned by owner so it has no taskbar button.
    explicit TfrmCapArea(HWND owner = nullptr);

    // Shows the overlay and runs its messages until it closes, the owner disabled meanwhile;
    // returns the modal result.
    int ShowModal();

    // F1 on the overlay.
    std::function<void()> OnHelp;

    // In the window's coordinates, normalised; empty for a click on no window.
    const Rect& SelectionRect() const { return selection_.Selection(); }
    // The window's (and the copy's) top-left corner on the screen.
    Point Origin() const { return origin_; }
    const Bitmap& ScreenImage() const { return screenImage_; }
    Bitmap TakeScreenImage() { return std::move(screenImage_); }

private:
    // What the window shows over the dimmed desktop, in its coordinates.
    struct Scene {
        Rect lit;          // shown at full brightness with a border: the selection or the outlined window
        int border = 0;    // its border's width
        Rect readout;      // the size box; empty when none
        std::string readoutText;
        Rect loupe;        // the magnifier with its caption; empty when none
        Point pointer;
        friend bool operator==(const Scene&, const Scene&) = default;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Never into Windows: ShowModal hands the failure to its caller.
    void OnFailure(std::exception_ptr failure) override;
    Scene Compose(HDC measure) const;
    void Refresh();
    void FormPaint();
    void PaintLoupe(HDC dc, const Scene& scene) const;
    void OnKey(WPARAM key);
    void EndModalIfDone();
    void EndModal(int result);
    int Scaled(int designPixels) const;

    HWND owner_;
    Point origin_;
    Bitmap screenImage_;
    std::optional<DibCanvas> bright_, dim_, back_;
    AreaSelection selection_;
    Scene shown_;
    UniqueFont font_;
    int dpi_ = 96;
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
