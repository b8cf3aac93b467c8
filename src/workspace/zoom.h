#pragma once
// Zoom arithmetic and nearest-pixel scaling of the shown image.
#include <string>

#include "util/geometry.h"
#include "workspace/bitmap.h"

namespace vimbrel {

// factor x size, rounded as RoundHalfEven does. Throws EImageTooLarge when the result cannot be a
// picture side.
int ScaledSide(int side, double factor);

// "3:1", "1:4".
std::string FormatZoomRatio(int n, int d);

// The whole of source stretched to width x height by dropping or repeating whole pixels,
// never blending (what StretchBlt does in COLORONCOLOR mode). The result is 24 bits per
// pixel whatever the source depth. Throws EImageTooLarge when it cannot be held.
Bitmap ScaleNearest(const Bitmap& source, int width, int height);

}  // namespace vimbrel
