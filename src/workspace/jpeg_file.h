#pragma once
// JPEG coding through libjpeg.
#include <cstdint>
#include <span>
#include <vector>

#include "util/geometry.h"
#include "workspace/bitmap.h"

namespace vimbrel {

inline constexpr int kJpegQuality = 90;
// Colours left after quantising for an 8-bit result (the rest of a 256-entry system palette
// belongs to Windows).
inline constexpr int kJpegQuantisedColours = 236;

// Scans a file may hold; ordinary progressive files have about ten.
inline constexpr int kMaxJpegScans = 100;

struct JpegReadOptions {
    bool greys = false;              // greyscale output
    bool trueColourDisplay = true;   // false: quantise colour output to 8 bits as well
};

// Full scale with block smoothing. Greyscale output, or any output for a palette display,
// is quantised to at most kJpegQuantisedColours in an 8-bit picture; otherwise the result
// is 24-bit. Damaged data, data cut short (a progressive file without its end marker or
// missing scans), more than kMaxJpegScans scans and impossible sizes throw EInvalidGraphic.
Bitmap DecodeJpeg(std::span<const std::uint8_t> file, const JpegReadOptions& options = {});

// Three colour components, the library's defaults, then kJpegQuality with baseline tables;
// never progressive, never greyscale. Throws EInOutError when the library refuses.
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& picture);

// Width and height from the header alone, without decoding; throws EInvalidGraphic.
Size ReadJpegSize(std::span<const std::uint8_t> file);

}  // namespace vimbrel
