#include "markup/win32/markup_canvas.h"

#include <commdlg.h>

#include <cmath>

#include "util/dpi_scale.h"
#include "util/win32/modal.h"

namespace vimbrel::win32 {

WinMarkupCanvas::WinMarkupCanvas(HWND window, ImageBox& box, MarkupToolBar& toolBar)
    : window_(window), box_(box), toolBar_(toolBar) {}

WinMarkupCanvas::~WinMarkupCanvas() {
    box_.HasOverlay = nullptr;
    box_.OnPaintOver = nullptr;
    box_.OnMouseDown = nullptr;
    box_.OnMouseUp = nullptr;
    box_.OnMouseMove = nullptr;
}

int WinMarkupCanvas::HandleSize() const { return ScaleToDpi(7, int(::GetDpiForWindow(window_))) | 1; }

void WinMarkupCanvas::Attach(MarkupCommands& markup, Mouse fallback) {
    markup_ = &markup;
    box_.HasOverlay = [&markup] { return markup.Shows(); };
    box_.OnPaintOver = [this, &markup](Bitmap& view, Point origin, const Rect& clip) {
        markup.PaintOver(view, origin, clip, HandleSize());
    };
    box_.OnMouseDown = [this, &markup, fallback](MouseButton b, Point at) {
        if (!markup.MouseDown(b, at, HandleSize() / 2 + 1) && fallback.down) fallback.down(b, at);
    };
    box_.OnMouseMove = [&markup, fallback](Point at) {
        if (!markup.MouseMove(at) && fallback.move) fallback.move(at);
    };
    box_.OnMouseUp = [&markup, fallback](MouseButton b, Point at) {
        if (!markup.MouseUp(b, at) && fallback.up) fallback.up(b, at);
    };
}

void WinMarkupCanvas::Repaint(const Rect& picturePixels) {
    const double zoom = markup_ ? std::max(0.01, markup_->Zoom()) : 1.0;
    // Antialiased edges and handles reach past the marks' own pixels.
    const int margin = HandleSize() + 2;
    box_.InvalidateShown(Rect{int(std::floor(picturePixels.left * zoom)) - margin,
                              int(std::floor(picturePixels.top * zoom)) - margin,
                              int(std::ceil(picturePixels.right * zoom)) + margin,
                              int(std::ceil(picturePixels.bottom * zoom)) + margin});
}

void WinMarkupCanvas::RepaintAll() { box_.InvalidateAll(); }

std::optional<MarkColour> WinMarkupCanvas::AskColour(MarkColour initial) {
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = window_;
    choice.rgbResult = RGB(initial.red, initial.green, initial.blue);
    choice.lpCustColors = customColours_;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    ModalScope modal;
    if (!::ChooseColorA(&choice)) return std::nullopt;
    return MarkColour{GetRValue(choice.rgbResult), GetGValue(choice.rgbResult), GetBValue(choice.rgbResult)};
}

void WinMarkupCanvas::ToolChanged(MarkTool tool) {
    toolBar_.Check(tool);
    box_.SetPointer(tool == MarkTool::Select ? ImagePointer::Normal : ImagePointer::Cross);
}

bool RouteMarkupKeys(MarkupCommands& markup, MSG& msg) {
    if (msg.message == WM_CHAR) return markup.EditingText() && markup.Char(char32_t(msg.wParam));
    if (msg.message != WM_KEYDOWN) return false;
    const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (markup.Key(int(msg.wParam), ctrl, shift)) return true;
    if (markup.EditingText() && !ctrl) {
        // Not a shortcut: the key becomes the character the text gets.
        ::TranslateMessage(&msg);
        return true;
    }
    return false;
}

}  // namespace vimbrel::win32
