#pragma once
// The geometry types at the Windows edge: RECT and POINT in, RECT out.
#include <windows.h>

#include "util/geometry.h"

namespace vimbrel::win32 {

inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Point FromPOINT(const POINT& p) { return Point{p.x, p.y}; }
inline POINT ToPOINT(const Point& p) { return POINT{p.x, p.y}; }

}  // namespace vimbrel::win32
