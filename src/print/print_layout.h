#pragma once
// Where a picture goes on a printer page, in printer pixels of the printable area (origin at
// its top-left corner). Pure arithmetic, so it is the same for the print job and the preview.
#include <cstdint>
#include <string>
#include <vector>

#include "util/geometry.h"

namespace vimbrel {

inline constexpr std::int32_t PageMargin = 125;

// The picture's rectangle on the page.
using PrintLayout = Rect;
// The printable area.
using PageSize = Size;

enum class PrintStyle { Full, Best, Zoom };

// The stored "PrintStyle" text; anything unknown prints "Full".
PrintStyle PrintStyleFromText(const std::string& text);

// A picture wider than high prints landscape; a square one portrait.
bool PrintsLandscape(int pictureWidth, int pictureHeight);

// The picture's rectangle for a style. zoom is the view's scale (used by "Zoom" only);
// landscape is the printer's orientation. The picture must not be empty.
PrintLayout LayoutPicture(PrintStyle style, PageSize page, bool landscape, int pictureWidth, int pictureHeight,
                          double zoom);

// Keeps the rectangle's right and bottom edges on the page; the picture is then squeezed
// into it, never cut.
PrintLayout ClampToPage(PrintLayout layout, PageSize page);

// The date line's top: above the picture by the text's height and 15 pixels.
std::int32_t DateLineTop(const PrintLayout& layout, int textHeight);

// One notes line: where it starts and whether a new page begins before it.
struct NotesLinePlace {
    std::int32_t x = 0, y = 0;
    bool newPageBefore = false;
    friend bool operator==(const NotesLinePlace&, const NotesLinePlace&) = default;
};

// The notes run one step apart from one step below the picture; past nine tenths of the
// page they go on at the top of a new page.
std::vector<NotesLinePlace> PlaceNotesLines(const PrintLayout& layout, std::int32_t pageHeight, std::size_t lineCount,
                                            int step);

}  // namespace vimbrel
