#include "markup/win32/gdi_text_shaper.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "workspace/win32/dib.h"

namespace vimbrel::win32 {
namespace {

constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS;
// Fonts of this many heights stay made; a zoom through every ratio makes no more.
constexpr std::size_t kFontsKept = 24;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(std::max(0, n)), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

}  // namespace

GdiTextShaper::GdiTextShaper() : dc_(::CreateCompatibleDC(nullptr)) {}

HFONT GdiTextShaper::FontOf(int height) const {
    auto found = fonts_.find(height);
    if (found != fonts_.end()) return found->second.get();
    if (fonts_.size() >= kFontsKept) fonts_.clear();
    LOGFONTW lf{};
    lf.lfHeight = height;  // the cell's height
    lf.lfWeight = FW_SEMIBOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    return fonts_.emplace(height, UniqueFont(::CreateFontIndirectW(&lf))).first->second.get();
}

Size GdiTextShaper::Measure(const std::string& utf8, int height) const {
    const std::wstring text = Wide(utf8);
    const int lines = 1 + int(std::count(text.begin(), text.end(), L'\n'));
    if (text.empty()) return Size{0, height};
    SelectedObject font(dc_.get(), FontOf(height));
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc_.get(), text.c_str(), int(text.size()), &r, kTextFormat | DT_CALCRECT);
    return Size{int(r.right - r.left), std::max(int(r.bottom - r.top), lines * height)};
}

GlyphCoverage GdiTextShaper::Draw(const std::string& utf8, int height, const Rect& window) const {
    GlyphCoverage glyphs{window, {}};
    const int w = window.Width(), h = window.Height();
    if (w <= 0 || h <= 0) return glyphs;
    glyphs.coverage.assign(std::size_t(w) * std::size_t(h), 0);
    const std::wstring text = Wide(utf8);
    if (text.empty()) return glyphs;
    const DibInfo info = MakeDibInfo(w, h, 32);
    void* bits = nullptr;
    GdiBitmap canvas(::CreateDIBSection(dc_.get(), info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!canvas || !bits) return glyphs;
    std::memset(bits, 0, std::size_t(w) * std::size_t(h) * 4);
    {
        SelectedObject selected(dc_.get(), canvas.get());
        SelectedObject font(dc_.get(), FontOf(height));
        ::SetBkMode(dc_.get(), TRANSPARENT);
        ::SetTextColor(dc_.get(), RGB(255, 255, 255));
        RECT r{-window.left, -window.top, -window.left + 1, -window.top + 1};
        ::DrawTextW(dc_.get(), text.c_str(), int(text.size()), &r, kTextFormat);
        ::GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint8_t*>(bits);  // black where no glyph is
    for (std::size_t i = 0; i < glyphs.coverage.size(); ++i) glyphs.coverage[i] = pixels[i * 4 + 1];
    return glyphs;
}

}  // namespace vimbrel::win32
