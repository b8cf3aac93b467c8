#pragma once
// The open-picture dialog's preview panel as plain arithmetic: where its parts go, where
// a picture is drawn in the preview box and what the label says.
#include <optional>
#include <string>

#include "util/geometry.h"

namespace vimbrel {

// a * b / c rounded to the nearest integer, halves away from zero, as Windows' MulDiv
// does; -1 when c is 0 or the result does not fit an int.
int MulDiv(int a, int b, int c);

// " (640x480)" for a picture, "Picture:" without one.
std::string PictureLabelText(const std::optional<Size>& picture);
inline constexpr const char* kNoPictureText = "(None)";

// Where the preview box shows a picture, in box coordinates: at its own size and centred
// when it fits, otherwise scaled into the box keeping its proportions, at the top-left.
// An empty rectangle for an empty picture.
Rect PlacePreview(Size picture, int boxWidth, int boxHeight);

// The picture panel's parts, in the panel's coordinates.
struct PicturePanelLayout {
    Rect PictureLabel, PreviewButton, DeleteButton, PaintPanel, PaintBox;
};
PicturePanelLayout LayoutPicturePanel(int panelWidth, int panelHeight);

// The panel's place in the dialog: right of the standard controls to the client's right
// edge, a little below the client's top, down to the bottom but for the part of the
// dialog's size grip (`gripSize` square at the bottom-right) its border does not cover.
Rect PicturePanelBounds(const Rect& dialogClient, const Rect& standardControls, int gripSize);

// The preview window: as large as asked but no larger than the work area, centred in it,
// so its caption and borders stay reachable for any picture.
Rect PreviewWindowBounds(int width, int height, const Rect& workArea);

}  // namespace vimbrel
