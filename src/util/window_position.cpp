#include "util/window_position.h"

#include "util/text.h"

namespace vimbrel {

namespace {
int Field(const std::string& text, int n) { return LeadingInt32(GetField(text, ',', n)); }
}  // namespace

WindowBounds ParseMainPosn(const std::string& text) {
    return WindowBounds{Field(text, 1), Field(text, 2), Field(text, 3), Field(text, 4)};
}

std::string FormatMainPosn(const WindowBounds& b) {
    return std::to_string(b.Left) + "," + std::to_string(b.Top) + "," + std::to_string(b.Width) + "," +
           std::to_string(b.Height);
}

WindowBounds CentreWindow(const WindowBounds& window, int screenWidth, int screenHeight) {
    WindowBounds b = window;
    b.Left = (screenWidth - window.Width) / 2;
    b.Top = (screenHeight - window.Height) / 2;
    return b;
}

WindowBounds RestoredBounds(const std::string& mainPosn, const WindowBounds& current, int screenWidth,
                            int screenHeight) {
    if (mainPosn.empty())
        return CentreWindow(current, screenWidth, screenHeight);
    const WindowBounds stored = ParseMainPosn(mainPosn);
    if (screenWidth >= stored.Left && screenHeight >= stored.Top)
        return stored;
    return CentreWindow(current, screenWidth, screenHeight);
}

}  // namespace vimbrel
