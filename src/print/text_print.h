#pragma once
// Printing a plain text stream: line by line from the top-left corner of the printable
// area, with tab stops every eight average characters, wrapping at the page's edge and page
// breaks on form feeds and at the page's foot.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "util/geometry.h"

namespace vimbrel {

inline constexpr const char* kErrorPrintingText = "Error printing text.";

// The job's failure as the caller sees it, whatever the printer said.
class ETextPrintError : public std::runtime_error {
public:
    ETextPrintError() : std::runtime_error(kErrorPrintingText) {}
};

struct TextFont {
    std::string face;
    int points = 0;
    bool bold = false, italic = false, underline = false, strikeOut = false;
};

// The font a text prints in when it is given none.
TextFont DefaultTextFont();

// A printer's text pages as the layout uses them. Printer failures throw std::runtime_error.
class TextPage {
public:
    virtual ~TextPage() = default;
    // The printable area in printer pixels.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    // tmAveCharWidth and tmHeight of the job's font.
    virtual int AverageCharWidth() = 0;
    virtual int CharHeight() = 0;
    virtual Size Extent(std::string_view text) = 0;
    // Where the character before byte `end` starts (multi-byte code pages step over both
    // bytes of a character).
    virtual std::size_t PreviousCharStart(std::string_view text, std::size_t end) = 0;
    virtual void Draw(int x, int y, std::string_view text) = 0;
    // Ends this page and starts the next.
    virtual void NewPage() = 0;
};

class TextJob : public TextPage {
public:
    // Starts the job on its first page, writing in this font.
    virtual void BeginDoc(const TextFont& font) = 0;
    virtual void EndDoc() = 0;
    virtual void AbortDoc() = 0;
};

// The channel's pen: where the next run goes and how high the line is so far.
class TextLayout {
public:
    explicit TextLayout(TextPage& page) : page_(page) {}
    // A chunk of at most kChunk characters; a run cut by the chunk's end goes on at the
    // same place with the next chunk.
    void WriteChunk(std::string_view chunk);
    // Any text, cut into chunks as the channel receives it.
    void Write(std::string_view text);

    static constexpr std::size_t kChunk = 128;
    int X() const { return x_; }
    int Y() const { return y_; }

private:
    void PrintRun(std::string_view run);
    void Tab();
    void NewLine();
    void NewPage();

    TextPage& page_;
    int x_ = 0, y_ = 0, lineHeight_ = 0;
};

// Where a tab at x goes with tab stops every `step` pixels.
int NextTabStop(int x, int step);

// PrintText: the whole text as one job; nothing for an empty text. Printer failures end the
// job and come out as ETextPrintError.
void PrintText(const std::string& text, const TextFont& font, TextJob& job);

}  // namespace vimbrel
