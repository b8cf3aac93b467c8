#pragma once
// What an image print puts on the page: the date line, the picture and the notes. Shared by
// the print job and the print preview's print.
#include <string>
#include <vector>

#include "print/print_canvas.h"
#include "print/print_layout.h"
#include "workspace/bitmap.h"

namespace vimbrel {

// The system's short date, five blanks, its short time.
std::string DateLineText(const std::string& shortDate, const std::string& shortTime);

void PrintDateLine(PrintCanvas& printer, const PrintLayout& layout, const std::string& dateLine);

// Each line one step ("X" high and 5) below the last, clipped to its own height, never
// wrapped; past nine tenths of the page the rest go on a new page.
void PrintNotesLines(PrintCanvas& printer, const PrintLayout& layout, const std::vector<std::string>& lines);

// Any picture (8, 24 or 32 bits, rows top-down) as printers take it.
PrintableDib MakePrintableDib(const Bitmap& picture);

// Positions and sizes go to the printer as 16-bit unsigned values: anything outside
// 0..65535 is refused (std::out_of_range) rather than wrapped.
void PrintBitmap(PrintCanvas& printer, int x, int y, int width, int height, const Bitmap& picture);

}  // namespace vimbrel
