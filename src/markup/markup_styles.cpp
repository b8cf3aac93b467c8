#include "markup/markup_styles.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

namespace vimbrel {
namespace {

std::optional<int> Number(std::string_view text, int base = 10) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

}  // namespace

std::string ToolName(MarkTool tool) {
    switch (tool) {
    case MarkTool::Select: return "Select";
    case MarkTool::Rectangle: return "Rectangle";
    case MarkTool::Ellipse: return "Ellipse";
    case MarkTool::Line: return "Line";
    case MarkTool::Arrow: return "Arrow";
    case MarkTool::Pen: return "Pen";
    case MarkTool::Highlighter: return "Highlighter";
    case MarkTool::Text: return "Text";
    case MarkTool::Step: return "Step";
    case MarkTool::Redact: return "Redact";
    }
    return "Select";
}

std::string StyleSettingName(MarkTool tool) { return "Markup" + ToolName(tool); }

std::string StyleText(const MarkStyle& s) {
    char text[48];
    std::snprintf(text, sizeof text, "%02X%02X%02X,%d,%d,%d", s.colour.red, s.colour.green, s.colour.blue, s.width,
                  s.fill ? 1 : 0, s.fontSize);
    return text;
}

std::optional<MarkStyle> ParseStyle(std::string_view text) {
    const std::vector<std::string_view> f = Fields(text);
    if (f.size() != 4 || f[0].size() != 6) return std::nullopt;
    const auto colour = Number(f[0], 16);
    const auto width = Number(f[1]);
    const auto fill = Number(f[2]);
    const auto font = Number(f[3]);
    if (!colour || !width || !fill || !font || (*fill != 0 && *fill != 1)) return std::nullopt;
    MarkStyle s;
    s.colour = MarkColour{std::uint8_t(*colour >> 16), std::uint8_t(*colour >> 8), std::uint8_t(*colour)};
    s.width = std::clamp(*width, kMinMarkWidth, kMaxMarkWidth);
    s.fill = *fill == 1;
    s.fontSize = std::clamp(*font, kMinFontSize, kMaxFontSize);
    return s;
}

}  // namespace vimbrel
