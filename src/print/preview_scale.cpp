#include "print/preview_scale.h"

#include <algorithm>
#include <cmath>

#include "util/text.h"

namespace vimbrel {
namespace {

constexpr double kBestFit = 0.75;
constexpr int kLowestPercent = 1;
constexpr int kHighestPercent = 10000;

}  // namespace

double PreviewDivisor(int logPixelsX, bool landscape) {
    const double divisor = std::nearbyint((landscape ? 5.0 : 4.0) * logPixelsX / 300.0);
    // A printer reporting a tiny resolution must not make the page picture infinite.
    return std::max(divisor, 1.0);
}

PageSize PreviewPageSize(PageSize page, double divisor) {
    return PageSize{RoundHalfEven(page.width / divisor), RoundHalfEven(page.height / divisor)};
}

double InitialPreviewScale(PrintStyle style, PageSize page, int pictureWidth, int pictureHeight, double zoom) {
    if (style == PrintStyle::Zoom) return zoom;
    const double fit = style == PrintStyle::Best ? kBestFit : 1.0;
    return std::min((page.height - 2 * PageMargin) * fit / pictureHeight,
                    fit * (page.width - 2 * PageMargin) / pictureWidth);
}

PreviewPlacement PlacePreview(PageSize previewPage, double divisor, bool landscape, int pictureWidth,
                              int pictureHeight, double scale) {
    const std::int32_t top = RoundHalfEven(PageMargin / divisor);
    // Scale and divisor apart, as the page picture's own sides are divided.
    const Size size{RoundHalfEven(pictureWidth * scale / divisor), RoundHalfEven(pictureHeight * scale / divisor)};
    const std::int32_t left = landscape ? CentreOffset(previewPage.width - top, size.width)
                                        : CentreOffset(previewPage.width, size.width);
    return PreviewPlacement::At(Point{std::max(left, top), top}, size);
}

PrintLayout PreviewPrintLayout(const PreviewPlacement& placement, double divisor, int pictureWidth,
                               int pictureHeight, double scale, PageSize page) {
    const Point corner{RoundHalfEven(placement.left * divisor), RoundHalfEven(placement.top * divisor)};
    return ClampToPage(PrintLayout::At(corner, Scaled(Size{pictureWidth, pictureHeight}, scale)), page);
}

int PreviewBarPosition(double scale) {
    const double position = std::nearbyint((scale - 1.0) * 10.0);
    return int(std::clamp(position, double(kPreviewBarMin), double(kPreviewBarMax)));
}

double PreviewScaleForBar(int position) { return position / 10.0 + 1.0; }

std::string PreviewZoomText(double scale) { return std::to_string(RoundHalfEven(scale * 100.0)) + "%"; }

double TypedPreviewScale(const std::string& firstLine) {
    const std::int64_t percent =
        std::clamp<std::int64_t>(LeadingInt(firstLine), kLowestPercent, kHighestPercent);
    return double(percent) / 100.0;
}

}  // namespace vimbrel
