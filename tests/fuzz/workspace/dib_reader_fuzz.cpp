// Feeds arbitrary bytes to the packed-DIB reader that reads what other programs put on the
// clipboard. Besides crashes it checks that whatever the reader accepts goes back on the
// clipboard with the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "declared_size.h"
#include "workspace/bmp_file.h"
#include "workspace/image_errors.h"

namespace {

bool SamePixels(const vimbrel::Bitmap& a, const vimbrel::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            vimbrel::RgbQuad p = a.PixelColour(x, y), q = b.PixelColour(x, y);
            if (p.red != q.red || p.green != q.green || p.blue != q.blue) return false;
        }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz::DeclaredPixels(data, size, 0) > fuzz::kMaxFuzzPixels) return 0;
    vimbrel::Bitmap picture;
    try {
        picture = vimbrel::DecodeDib(std::span<const std::uint8_t>(data, size));
    } catch (const vimbrel::EInvalidGraphic&) {
        return 0;
    }
    if (picture.Empty() || !SamePixels(vimbrel::DecodeDib(vimbrel::EncodeDib(picture)), picture)) std::abort();
    return 0;
}
