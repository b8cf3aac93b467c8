#include "print/print_layout.h"

#include <algorithm>
#include <cmath>

namespace vimbrel {
namespace {

// Nearest integer, halves to even (the default rounding mode).
std::int32_t Round(double value) { return std::int32_t(std::nearbyint(value)); }

constexpr double kBestFit = 0.75;
// Notes further left than this start at the left margin instead.
constexpr std::int32_t kNotesIndentLimit = 700;
constexpr std::int32_t kNotesLeftWhenIndented = 225;

}  // namespace

PrintStyle PrintStyleFromText(const std::string& text) {
    if (text == "Best") return PrintStyle::Best;
    if (text == "Zoom") return PrintStyle::Zoom;
    return PrintStyle::Full;
}

bool PrintsLandscape(int pictureWidth, int pictureHeight) { return pictureWidth > pictureHeight; }

PrintLayout LayoutPicture(PrintStyle style, PageSize page, bool landscape, int pictureWidth, int pictureHeight,
                          double zoom) {
    PrintLayout layout;
    layout.Top = PageMargin;
    if (style == PrintStyle::Zoom) {
        layout.Width = Round(pictureWidth * zoom);
        layout.Height = Round(pictureHeight * zoom);
        layout.Left = landscape ? (page.Width - layout.Width - PageMargin) / 2 : (page.Width - layout.Width) / 2;
        layout.Left = std::max(layout.Left, PageMargin);
        return layout;
    }
    const double fit = style == PrintStyle::Best ? kBestFit : 1.0;
    const std::int32_t boxWidth = Round((page.Width - 2 * PageMargin) * fit);
    const std::int32_t boxHeight = Round((page.Height - 2 * PageMargin) * fit);
    // The box is centred, not the picture.
    layout.Left = (page.Width - boxWidth) / 2;
    const double scale = std::min(double(boxWidth) / pictureWidth, double(boxHeight) / pictureHeight);
    layout.Width = Round(pictureWidth * scale);
    layout.Height = Round(pictureHeight * scale);
    return layout;
}

PrintLayout ClampToPage(PrintLayout layout, PageSize page) {
    if (page.Width < layout.Left + layout.Width) layout.Width = page.Width - layout.Left;
    if (page.Height < layout.Top + layout.Height) layout.Height = page.Height - layout.Top;
    return layout;
}

std::int32_t DateLineTop(const PrintLayout& layout, int textHeight) { return layout.Top - textHeight - 15; }

std::vector<NotesLinePlace> PlaceNotesLines(const PrintLayout& layout, std::int32_t pageHeight, std::size_t lineCount,
                                            int step) {
    std::vector<NotesLinePlace> places;
    const auto limit = std::int32_t(std::int64_t(pageHeight) * 9 / 10);
    const std::int32_t x = layout.Left > kNotesIndentLimit ? kNotesLeftWhenIndented : layout.Left;
    std::int32_t y = layout.Top + layout.Height + step;
    for (std::size_t i = 0; i < lineCount; ++i) {
        bool newPage = y > limit;
        if (newPage) y = PageMargin;
        places.push_back({x, y, newPage});
        y += step;
    }
    return places;
}

}  // namespace vimbrel
