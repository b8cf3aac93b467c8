#pragma once
// The marks' text through GDI: antialiased glyphs of one face at any height, drawn only
// where they are seen.
#include <windows.h>

#include <map>

#include "markup/text_shaper.h"
#include "util/win32/gdi_handles.h"
#include "util/win32/handles.h"

namespace vimbrel::win32 {

class GdiTextShaper : public TextShaper {
public:
    GdiTextShaper();
    Size Measure(const std::string& utf8, int height) const override;
    GlyphCoverage Draw(const std::string& utf8, int height, const Rect& window) const override;

private:
    HFONT FontOf(int height) const;

    UniqueMemoryDC dc_;
    mutable std::map<int, UniqueFont> fonts_;
};

}  // namespace vimbrel::win32
