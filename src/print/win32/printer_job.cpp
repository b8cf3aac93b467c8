#include "print/win32/printer_job.h"

#include "util/win32/rect_conversions.h"

namespace vimbrel::win32 {
namespace {

void Check(bool ok, const char* what) {
    if (!ok) throw EPrinterError(std::string("The printer refused ") + what);
}

}  // namespace

WinPrintJob::WinPrintJob(const std::string& printerName, const std::vector<char>& deviceMode)
    : dc_(::CreateDCA("WINSPOOL", printerName.c_str(), nullptr,
                      deviceMode.size() >= sizeof(DEVMODEA) ? reinterpret_cast<const DEVMODEA*>(deviceMode.data())
                                                            : nullptr)) {
    Check(bool(dc_), "a device context");
}

WinPrintJob::~WinPrintJob() {
    if (open_) ::AbortDoc(dc_.get());
}

std::int32_t WinPrintJob::PageWidth() const { return ::GetDeviceCaps(dc_.get(), HORZRES); }
std::int32_t WinPrintJob::PageHeight() const { return ::GetDeviceCaps(dc_.get(), VERTRES); }

SIZE WinPrintJob::Extent(std::string_view text) {
    SIZE size{};
    Check(::GetTextExtentPoint32A(dc_.get(), text.data(), int(text.size()), &size) != FALSE, "a text extent");
    return size;
}

int WinPrintJob::TextWidth(const std::string& text) { return Extent(text).cx; }
int WinPrintJob::TextHeight(const std::string& text) { return Extent(text).cy; }

void WinPrintJob::WriteText(int x, int y, const std::string& text) { WriteRun(x, y, text); }

void WinPrintJob::WriteRun(int x, int y, std::string_view text) {
    Check(::TextOutA(dc_.get(), x, y, text.data(), int(text.size())) != FALSE, "a text");
}

void WinPrintJob::WriteTextClipped(int x, int y, const Rect& clip, const std::string& text) {
    RECT r = ToRECT(clip);
    Check(::ExtTextOutA(dc_.get(), x, y, ETO_CLIPPED, &r, text.c_str(), UINT(text.size()), nullptr) != FALSE, "a text");
}

void WinPrintJob::SetFont(const TextFont& font) {
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(font.points, ::GetDeviceCaps(dc_.get(), LOGPIXELSY), 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynA(lf.lfFaceName, font.face.c_str(), LF_FACESIZE);
    UniqueFont made(::CreateFontIndirectA(&lf));
    Check(bool(made), "the font");
    selectedFont_.reset();
    selectedFont_.emplace(dc_.get(), made.get());
    font_ = std::move(made);
}

TEXTMETRICA WinPrintJob::Metrics() {
    TEXTMETRICA metrics{};
    Check(::GetTextMetricsA(dc_.get(), &metrics) != FALSE, "its text metrics");
    return metrics;
}

void WinPrintJob::NewPage() {
    Check(::EndPage(dc_.get()) > 0, "to end a page");
    Check(::StartPage(dc_.get()) > 0, "a new page");
}

void WinPrintJob::StretchPicture(int x, int y, int width, int height, const PrintableDib& picture) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = picture.height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(picture.bits.size());
    const int lines = ::StretchDIBits(dc_.get(), x, y, width, height, 0, 0, picture.width, picture.height,
                                      picture.bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    Check(lines != 0 && lines != int(GDI_ERROR), "the picture");
}

void WinPrintJob::BeginDoc(const std::string& title) {
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    Check(::StartDocA(dc_.get(), &doc) > 0, "the job");
    open_ = true;
    Check(::StartPage(dc_.get()) > 0, "the first page");
}

void WinPrintJob::EndDoc() {
    Check(::EndPage(dc_.get()) > 0, "to end the page");
    Check(::EndDoc(dc_.get()) > 0, "to end the job");
    open_ = false;
}

void WinPrintJob::AbortDoc() {
    if (open_) ::AbortDoc(dc_.get());
    open_ = false;
}

std::string LocaleShortDate() {
    char text[128] = {};
    int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
    return n > 0 ? std::string(text) : std::string();
}

std::string LocaleShortTime() {
    char text[128] = {};
    int n = ::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, sizeof text);
    return n > 0 ? std::string(text) : std::string();
}

}  // namespace vimbrel::win32
