#include "desktop/picture_preview.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace vimbrel {
namespace {

// The panel's border, the label's height and the buttons' sizes, in pixels.
constexpr int kBorder = 6;
constexpr int kLabelHeight = 23;
constexpr int kBevel = 2;
constexpr int kButtonTop = 1, kButtonHeight = 23, kButtonGap = 2;
constexpr int kPreviewButtonWidth = 22, kDeleteButtonWidth = 55;
constexpr int kPanelTopGap = 4;

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = std::int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
    if (magnitude > INT_MAX) return -1;
    return int(negative ? -magnitude : magnitude);
}

std::string PictureLabelText(const std::optional<Size>& picture) {
    if (!picture) return "Picture:";
    return " (" + std::to_string(picture->width) + "x" + std::to_string(picture->height) + ")";
}

Rect PlacePreview(Size picture, int boxWidth, int boxHeight) {
    if (picture.width <= 0 || picture.height <= 0) return Rect{};
    if (picture.width <= boxWidth && picture.height <= boxHeight)
        return Rect::At(Point{CentreOffset(boxWidth, picture.width), CentreOffset(boxHeight, picture.height)}, picture);
    // Scaled by the side that meets the box first, so no part of it is ever cut off.
    if (std::int64_t(picture.width) * boxHeight >= std::int64_t(picture.height) * boxWidth)
        return Rect::At(0, 0, boxWidth, MulDiv(picture.height, boxWidth, picture.width));
    return Rect::At(0, 0, MulDiv(picture.width, boxHeight, picture.height), boxHeight);
}

PicturePanelLayout LayoutPicturePanel(int panelWidth, int panelHeight) {
    PicturePanelLayout l;
    const int inner = std::max(0, panelWidth - 2 * kBorder);
    l.PictureLabel = Rect::At(kBorder, kBorder, inner, kLabelHeight);
    l.PaintPanel = Rect::At(kBorder, kBorder + kLabelHeight, inner, std::max(0, panelHeight - 2 * kBorder - kLabelHeight));
    l.PaintBox = Rect{l.PaintPanel.left + kBevel, l.PaintPanel.top + kBevel,
                      std::max(l.PaintPanel.left + kBevel, l.PaintPanel.right - kBevel),
                      std::max(l.PaintPanel.top + kBevel, l.PaintPanel.bottom - kBevel)};
    l.PreviewButton = Rect::At(l.PaintPanel.right - kPreviewButtonWidth - kButtonGap, kButtonTop, kPreviewButtonWidth,
                         kButtonHeight);
    l.DeleteButton = Rect::At(l.PreviewButton.left - kDeleteButtonWidth - kButtonGap, kButtonTop, kDeleteButtonWidth,
                        kButtonHeight);
    return l;
}

Rect PicturePanelBounds(const Rect& dialogClient, const Rect& standardControls, int gripSize) {
    return Rect{standardControls.right, dialogClient.top + kPanelTopGap, dialogClient.right,
                dialogClient.bottom - std::max(0, gripSize - kBorder)};
}

Rect PreviewWindowBounds(int width, int height, const Rect& workArea) {
    width = std::min(width, workArea.Width());
    height = std::min(height, workArea.Height());
    return Rect::At(AddPixels(workArea.left, CentreOffset(workArea.Width(), width)),
                    AddPixels(workArea.top, CentreOffset(workArea.Height(), height)), width, height);
}

}  // namespace vimbrel
