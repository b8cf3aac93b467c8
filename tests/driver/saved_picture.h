#pragma once
// Pictures the program saves, read back from outside.
#include <chrono>
#include <optional>
#include <string>

#include "workspace/bitmap.h"

namespace e2e {

// The picture in the file once it reads whole: it may not be there yet, or still be being
// written. None when the time runs out first.
std::optional<vimbrel::Bitmap> WaitForPicture(const std::string& path,
                                              std::chrono::milliseconds timeout = std::chrono::seconds(15));

// The clipboard's bitmap (CF_BITMAP) at 24 bits; none when it holds none.
std::optional<vimbrel::Bitmap> ClipboardPicture();

}  // namespace e2e
