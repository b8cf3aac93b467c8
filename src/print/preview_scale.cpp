#include "print/preview_scale.h"

#include <algorithm>
#include <cmath>

#include "util/text.h"

namespace vimbrel {
namespace {

// Nearest integer, halves to even (the default rounding mode).
std::int32_t Round(double value) { return std::int32_t(std::nearbyint(value)); }

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
    return PageSize{Round(page.Width / divisor), Round(page.Height / divisor)};
}

double InitialPreviewScale(PrintStyle style, PageSize page, int pictureWidth, int pictureHeight, double zoom) {
    if (style == PrintStyle::Zoom) return zoom;
    const double fit = style == PrintStyle::Best ? kBestFit : 1.0;
    return std::min((page.Height - 2 * PageMargin) * fit / pictureHeight,
                    fit * (page.Width - 2 * PageMargin) / pictureWidth);
}

PreviewPlacement PlacePreview(PageSize previewPage, double divisor, bool landscape, int pictureWidth,
                              int pictureHeight, double scale) {
    PreviewPlacement p;
    p.Top = Round(PageMargin / divisor);
    p.Width = Round(pictureWidth * scale / divisor);
    p.Height = Round(pictureHeight * scale / divisor);
    p.Left = landscape ? (previewPage.Width - p.Width - p.Top) / 2 : (previewPage.Width - p.Width) / 2;
    p.Left = std::max(p.Left, p.Top);
    return p;
}

PrintLayout PreviewPrintLayout(const PreviewPlacement& placement, double divisor, int pictureWidth,
                               int pictureHeight, double scale, PageSize page) {
    const PrintLayout layout{Round(placement.Left * divisor), Round(placement.Top * divisor),
                             Round(pictureWidth * scale), Round(pictureHeight * scale)};
    return ClampToPage(layout, page);
}

int PreviewBarPosition(double scale) {
    const double position = std::nearbyint((scale - 1.0) * 10.0);
    return int(std::clamp(position, double(kPreviewBarMin), double(kPreviewBarMax)));
}

double PreviewScaleForBar(int position) { return position / 10.0 + 1.0; }

std::string PreviewZoomText(double scale) { return std::to_string(Round(scale * 100.0)) + "%"; }

double TypedPreviewScale(const std::string& firstLine) {
    const std::int64_t percent =
        std::clamp<std::int64_t>(LeadingInt(firstLine), kLowestPercent, kHighestPercent);
    return double(percent) / 100.0;
}

}  // namespace vimbrel
