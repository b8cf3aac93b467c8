#pragma once
// The markup on the main window: drawn over the picture's box, the picture's mouse and the
// window's keys handed to it first, the tool bar beside the box and the colour dialog.
#include <windows.h>

#include "markup/markup_commands.h"
#include "markup/win32/markup_tool_bar.h"
#include "workspace/win32/image_box.h"

namespace vimbrel::win32 {

class WinMarkupCanvas : public MarkupCanvas {
public:
    WinMarkupCanvas(HWND window, ImageBox& box, MarkupToolBar& toolBar);
    // The box outlives the markup: it lets go of it.
    ~WinMarkupCanvas() override;
    WinMarkupCanvas(const WinMarkupCanvas&) = delete;
    WinMarkupCanvas& operator=(const WinMarkupCanvas&) = delete;
    // Wires the box's paint and mouse to the markup first, `fallback` after (the picture's
    // own mouse: the cursor stamps and drag scrolling).
    struct Mouse {
        std::function<void(MouseButton, Point)> down, up;
        std::function<void(Point)> move;
    };
    void Attach(MarkupCommands& markup, Mouse fallback);

    void Repaint(const Rect& picturePixels) override;
    void RepaintAll() override;
    std::optional<MarkColour> AskColour(MarkColour initial) override;
    void ToolChanged(MarkTool tool) override;

    // The handles' side on the screen, at the window's density.
    int HandleSize() const;

private:
    HWND window_;
    ImageBox& box_;
    MarkupToolBar& toolBar_;
    MarkupCommands* markup_ = nullptr;
    COLORREF customColours_[16]{};
};

// A key or character message for the main window and its children, handed to the markup
// before the menus' shortcuts: true when the markup used it. While a text is typed, the
// keys it does not use become characters for it.
bool RouteMarkupKeys(MarkupCommands& markup, MSG& msg);

}  // namespace vimbrel::win32
