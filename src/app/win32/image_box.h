#pragma once
// The scroll box that shows the current image (Image1) at its top-left corner, with
// scroll bars whose line steps are 4 pixels across and 5 down. A right click offers the
// image menu through the parent window's WM_CONTEXTMENU.
#include <windows.h>

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

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void UpdateScrollBars();
    void Scroll(int bar, int code);
    void Paint();

    const Bitmap* shown_ = &nothing_;
    Bitmap nothing_;
    POINT origin_{0, 0};  // scroll position
};

}  // namespace vimbrel::win32
