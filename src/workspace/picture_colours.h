#pragma once
// The distinct colours of a picture, for writing it with a colour table.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "workspace/bitmap.h"

namespace vimbrel {

// Every pixel of a 24- or 32-bit picture as an index into `table`, the picture's colours in
// the order they first appear (the fourth byte of a 32-bit pixel is not part of its
// colour). Row y's indices go to out + y * outStride. Gives false, with `table` and `out`
// in no defined state, as soon as a colour past the first maxColours (at most 256) turns up.
bool IndexColours(const Bitmap& picture, int maxColours, std::vector<RgbQuad>& table, std::uint8_t* out,
                  std::size_t outStride);

}  // namespace vimbrel
