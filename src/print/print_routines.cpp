#include "print/print_routines.h"

#include <cstring>
#include <stdexcept>

namespace vimbrel {

std::string DateLineText(const std::string& shortDate, const std::string& shortTime) {
    return shortDate + "     " + shortTime;
}

void PrintDateLine(PrintCanvas& printer, const PrintLayout& layout, const std::string& dateLine) {
    printer.WriteText(layout.left, DateLineTop(layout, printer.TextHeight(dateLine)), dateLine);
}

void PrintNotesLines(PrintCanvas& printer, const PrintLayout& layout, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    const int step = printer.TextHeight("X") + 5;
    const auto places = PlaceNotesLines(layout, printer.PageHeight(), lines.size(), step);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const NotesLinePlace& at = places[i];
        if (at.newPageBefore) printer.NewPage();
        const int width = printer.TextWidth(lines[i]);
        printer.WriteTextClipped(at.x, at.y, Rect::At(at.x, at.y, width, step), lines[i]);
    }
}

PrintableDib MakePrintableDib(const Bitmap& picture) {
    PrintableDib dib;
    dib.width = picture.Width();
    dib.height = picture.Height();
    const std::size_t stride = Bitmap::StrideFor(dib.width, 24);
    dib.bits.resize(stride * std::size_t(dib.height));
    for (int y = 0; y < dib.height; ++y) {
        std::uint8_t* out = dib.bits.data() + std::size_t(dib.height - 1 - y) * stride;
        if (picture.BitsPerPixel() == 24) {
            std::memcpy(out, picture.Row(y), std::size_t(dib.width) * 3);
            continue;
        }
        for (int x = 0; x < dib.width; ++x) {
            const RgbQuad c = picture.PixelColour(x, y);
            out[3 * x] = c.blue;
            out[3 * x + 1] = c.green;
            out[3 * x + 2] = c.red;
        }
    }
    return dib;
}

void PrintBitmap(PrintCanvas& printer, int x, int y, int width, int height, const Bitmap& picture) {
    for (int v : {x, y, width, height})
        if (v < 0 || v > 0xFFFF) throw std::out_of_range("The picture does not fit the printer's page");
    printer.StretchPicture(x, y, width, height, MakePrintableDib(picture));
}

}  // namespace vimbrel
