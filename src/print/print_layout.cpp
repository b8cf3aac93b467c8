#include "print/print_layout.h"

#include <algorithm>

namespace vimbrel {
namespace {

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
    const Size picture{pictureWidth, pictureHeight};
    if (style == PrintStyle::Zoom) {
        const Size size = Scaled(picture, zoom);
        const std::int32_t left = landscape ? CentreOffset(page.width - PageMargin, size.width)
                                            : CentreOffset(page.width, size.width);
        return PrintLayout::At(Point{std::max(left, PageMargin), PageMargin}, size);
    }
    const double fit = style == PrintStyle::Best ? kBestFit : 1.0;
    const Size box = Scaled(Size{page.width - 2 * PageMargin, page.height - 2 * PageMargin}, fit);
    const double scale = std::min(double(box.width) / pictureWidth, double(box.height) / pictureHeight);
    // The box is centred, not the picture.
    return PrintLayout::At(Point{CentreOffset(page.width, box.width), PageMargin}, Scaled(picture, scale));
}

PrintLayout ClampToPage(PrintLayout layout, PageSize page) {
    layout.right = std::min(layout.right, page.width);
    layout.bottom = std::min(layout.bottom, page.height);
    return layout;
}

std::int32_t DateLineTop(const PrintLayout& layout, int textHeight) { return layout.top - textHeight - 15; }

std::vector<NotesLinePlace> PlaceNotesLines(const PrintLayout& layout, std::int32_t pageHeight, std::size_t lineCount,
                                            int step) {
    std::vector<NotesLinePlace> places;
    const auto limit = std::int32_t(std::int64_t(pageHeight) * 9 / 10);
    const std::int32_t x = layout.left > kNotesIndentLimit ? kNotesLeftWhenIndented : layout.left;
    std::int32_t y = layout.bottom + step;
    for (std::size_t i = 0; i < lineCount; ++i) {
        bool newPage = y > limit;
        if (newPage) y = PageMargin;
        places.push_back({x, y, newPage});
        y += step;
    }
    return places;
}

}  // namespace vimbrel
