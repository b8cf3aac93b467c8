#include "print/text_print.h"

#include <cstdint>

namespace vimbrel {
namespace {

constexpr char kTab = 9, kLineFeed = 10, kFormFeed = 12, kReturn = 13;
constexpr int kTabColumns = 8;
constexpr int kLineGap = 2;
constexpr int kDefaultPoints = 12;

}  // namespace

TextFont DefaultTextFont() { return TextFont{"Courier New", kDefaultPoints}; }

int NextTabStop(int x, int step) {
    if (step <= 0) return x;
    return x + step - ((x + step + 1) % step) + 1;
}

void TextLayout::Write(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); at += kChunk) WriteChunk(text.substr(at, kChunk));
}

void TextLayout::WriteChunk(std::string_view chunk) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const char c = chunk[i];
        if (c != kTab && c != kLineFeed && c != kFormFeed && c != kReturn) continue;
        PrintRun(chunk.substr(runStart, i - runStart));
        runStart = i + 1;
        if (c == kTab) Tab();
        else if (c == kLineFeed) NewLine();
        else if (c == kFormFeed) NewPage();
    }
    PrintRun(chunk.substr(runStart));
}

void TextLayout::Tab() {
    // The average width is a 16-bit value in the font's metrics.
    const int step = kTabColumns * int(std::uint16_t(page_.AverageCharWidth()));
    x_ = NextTabStop(x_, step);
    if (x_ > page_.PageWidth()) NewLine();
}

void TextLayout::PrintRun(std::string_view run) {
    while (!run.empty()) {
        const int pageWidth = page_.PageWidth();
        std::size_t k = run.size();
        Size extent = page_.Extent(run.substr(0, k));
        while (k > 0 && x_ + extent.width > pageWidth) {
            k = page_.PreviousCharStart(run, k);
            extent = page_.Extent(run.substr(0, k));
        }
        // A character wider than the whole line still goes on a line of its own, or the
        // run would never get shorter.
        if (k == 0 && x_ == 0) {
            k = run.size();
            while (page_.PreviousCharStart(run, k) > 0) k = page_.PreviousCharStart(run, k);
            extent = page_.Extent(run.substr(0, k));
        }
        if (k > 0) {
            if (extent.height > lineHeight_) lineHeight_ = extent.height + kLineGap;
            page_.Draw(x_, y_, run.substr(0, k));
        }
        run.remove_prefix(k);
        if (run.empty()) {
            x_ += extent.width;
        } else {
            NewLine();
        }
    }
}

void TextLayout::NewLine() {
    x_ = 0;
    y_ += lineHeight_ != 0 ? lineHeight_ : page_.CharHeight();
    if (y_ > page_.PageHeight() - 2 * lineHeight_) NewPage();
    lineHeight_ = 0;
}

void TextLayout::NewPage() {
    x_ = 0;
    y_ = 0;
    page_.NewPage();
}

void PrintText(const std::string& text, const TextFont& font, TextJob& job) {
    if (text.empty()) return;
    try {
        job.BeginDoc(font);
        try {
            TextLayout layout(job);
            layout.Write(text);
            job.EndDoc();
        } catch (...) {
            // A job left open would hold the printer.
            job.AbortDoc();
            throw;
        }
    } catch (const std::runtime_error&) {
        throw ETextPrintError();
    }
}

}  // namespace vimbrel
