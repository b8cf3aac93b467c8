#pragma once
// The print preview's arithmetic: how many printer pixels one preview pixel stands for, the
// scale a style starts at, where the picture sits on the page picture, the track bar's
// position for a scale and the percentage shown or typed. Pure, so it is tested natively.
#include <cstdint>
#include <string>

#include "print/print_layout.h"

namespace vimbrel {

// The track bar spans scales 1.0 to 8.0 in steps of 0.1.
inline constexpr int kPreviewBarMin = 0;
inline constexpr int kPreviewBarMax = 70;
inline constexpr int kPreviewBarStart = 10;
inline constexpr int kPreviewBarTicks = 5;
inline constexpr int kPreviewBarPageStep = 2;

// Printer pixels per preview pixel: 4 (portrait) or 5 (landscape) at 300 dpi, more for
// finer printers; never below 1.
double PreviewDivisor(int logPixelsX, bool landscape);

// The page picture: the printable page divided by the divisor.
PageSize PreviewPageSize(PageSize page, double divisor);

// The scale a preview opens at: the view's zoom for "Zoom", otherwise the largest scale
// that fits the picture into the page less its margins (three quarters of it for "Best").
double InitialPreviewScale(PrintStyle style, PageSize page, int pictureWidth, int pictureHeight, double zoom);

// The picture on the page picture, in preview pixels.
using PreviewPlacement = Rect;

PreviewPlacement PlacePreview(PageSize previewPage, double divisor, bool landscape, int pictureWidth,
                              int pictureHeight, double scale);

// What printing from the preview puts on the page: the preview's own placement in printer
// pixels (so its left and top are multiples of the divisor), kept on the page.
PrintLayout PreviewPrintLayout(const PreviewPlacement& placement, double divisor, int pictureWidth,
                               int pictureHeight, double scale, PageSize page);

// The bar's position for a scale; scales beyond its range leave it at its end.
int PreviewBarPosition(double scale);
double PreviewScaleForBar(int position);

// "333%".
std::string PreviewZoomText(double scale);

// The scale a typed percentage asks for: the number the text starts with, cut to 1 % ..
// 10000 % (no number gives 1 %).
double TypedPreviewScale(const std::string& firstLine);

}  // namespace vimbrel
