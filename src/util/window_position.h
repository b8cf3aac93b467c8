#pragma once
// The main window's stored position ("MainPosn": Left,Top,Width,Height) and the rules
// for placing the window on the primary screen.
#include <string>

#include "util/geometry.h"

namespace vimbrel {

// A corner and a size as stored, never added up: stored numbers of any size read back as
// they were written.
struct WindowBounds {
    Point corner;
    Size size;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

inline WindowBounds BoundsOf(const Rect& frame) { return WindowBounds{frame.TopLeft(), frame.Extent()}; }

// Each field read leniently; a missing or unreadable one is 0.
WindowBounds ParseMainPosn(const std::string& text);
std::string FormatMainPosn(const WindowBounds& bounds);
// Centred on the screen, keeping the size; halves truncate toward zero.
WindowBounds CentreWindow(const WindowBounds& window, int screenWidth, int screenHeight);
// Where the window goes at start-up, from the stored text and its current (designed)
// bounds: centred when nothing is stored or the stored corner lies beyond the screen.
WindowBounds RestoredBounds(const std::string& mainPosn, const WindowBounds& current, int screenWidth,
                            int screenHeight);

}  // namespace vimbrel
