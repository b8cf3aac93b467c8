#pragma once
// A printer page as the print routines draw on it, and the job that holds the pages.
// Implemented over a printer device context, and by fakes in tests.
#include <cstdint>
#include <string>
#include <vector>

#include "util/geometry.h"

namespace vimbrel {

// A picture as printers take it: 24 bits per pixel, rows bottom-up and padded to 4 bytes,
// no colour table.
struct PrintableDib {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bits;
};

class PrintCanvas {
public:
    virtual ~PrintCanvas() = default;
    // The printable area in printer pixels, for the printer's current orientation.
    virtual std::int32_t PageWidth() const = 0;
    virtual std::int32_t PageHeight() const = 0;
    // Extent of a text in the job's current font.
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    virtual void WriteText(int x, int y, const std::string& text) = 0;
    // The text with its top-left at (x, y), nothing of it outside clip.
    virtual void WriteTextClipped(int x, int y, const Rect& clip, const std::string& text) = 0;
    // Ends this page and starts the next.
    virtual void NewPage() = 0;
    // The whole picture stretched into the rectangle in one transfer.
    virtual void StretchPicture(int x, int y, int width, int height, const PrintableDib& picture) = 0;
};

// Failures of the printer throw; a job that began and failed must be abandoned with
// AbortDoc so the printer takes the next one.
class PrintJob : public PrintCanvas {
public:
    virtual void BeginDoc(const std::string& title) = 0;
    virtual void EndDoc() = 0;
    virtual void AbortDoc() = 0;
};

}  // namespace vimbrel
