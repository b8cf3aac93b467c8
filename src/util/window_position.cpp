#include "util/window_position.h"

#include "util/text.h"

namespace vimbrel {

namespace {
int Field(const std::string& text, int n) { return LeadingInt32(GetField(text, ',', n)); }
}  // namespace

WindowBounds ParseMainPosn(const std::string& text) {
    return WindowBounds{{Field(text, 1), Field(text, 2)}, {Field(text, 3), Field(text, 4)}};
}

std::string FormatMainPosn(const WindowBounds& b) {
    return std::to_string(b.corner.x) + "," + std::to_string(b.corner.y) + "," + std::to_string(b.size.width) + "," +
           std::to_string(b.size.height);
}

WindowBounds CentreWindow(const WindowBounds& window, int screenWidth, int screenHeight) {
    return WindowBounds{{CentreOffset(screenWidth, window.size.width), CentreOffset(screenHeight, window.size.height)},
                        window.size};
}

WindowBounds RestoredBounds(const std::string& mainPosn, const WindowBounds& current, int screenWidth,
                            int screenHeight) {
    if (mainPosn.empty())
        return CentreWindow(current, screenWidth, screenHeight);
    const WindowBounds stored = ParseMainPosn(mainPosn);
    if (screenWidth >= stored.corner.x && screenHeight >= stored.corner.y)
        return stored;
    return CentreWindow(current, screenWidth, screenHeight);
}

}  // namespace vimbrel
