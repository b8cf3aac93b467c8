#pragma once
// A child window that its owner paints (the open dialog's preview box and the preview
// window's picture), and the two window measures the dialog lays itself out with.
#include <windows.h>

#include <functional>

#include "util/geometry.h"
#include "util/win32/window_base.h"

namespace vimbrel::win32 {

// The window's client rectangle, from (0, 0).
Rect ClientRect(HWND window);
// Moves and sizes a child to the rectangle, in its parent's client coordinates.
void MoveTo(HWND window, const Rect& r);

class PictureBox final : public WindowBase {
public:
    using Painter = std::function<void(HDC, const Rect& client)>;

    PictureBox(HWND parent, int id, DWORD style, Painter paint, std::function<void()> doubleClick = {});

private:
    static constexpr const char* kClassName = "VimbrelPictureBox";

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    Painter paint_;
    std::function<void()> doubleClick_;
};

}  // namespace vimbrel::win32
