#pragma once
// The text channel's printer: a print job whose pages the text layout writes on.
#include <string>
#include <vector>

#include "print/text_print.h"
#include "print/win32/printer_job.h"

namespace vimbrel::win32 {

class WinTextJob final : public TextJob {
public:
    // As WinPrintJob; the job is titled title.
    WinTextJob(const std::string& printerName, const std::vector<char>& deviceMode, std::string title);

    int PageWidth() override { return job_.PageWidth(); }
    int PageHeight() override { return job_.PageHeight(); }
    int AverageCharWidth() override { return metrics_.tmAveCharWidth; }
    int CharHeight() override { return metrics_.tmHeight; }
    Size Extent(std::string_view text) override;
    std::size_t PreviousCharStart(std::string_view text, std::size_t end) override;
    void Draw(int x, int y, std::string_view text) override { job_.WriteRun(x, y, text); }
    void NewPage() override { job_.NewPage(); }

    void BeginDoc(const TextFont& font) override;
    void EndDoc() override { job_.EndDoc(); }
    void AbortDoc() override { job_.AbortDoc(); }

private:
    WinPrintJob job_;
    std::string title_;
    TEXTMETRICA metrics_{};
};

}  // namespace vimbrel::win32
