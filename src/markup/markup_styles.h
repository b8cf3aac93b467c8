#pragma once
// The last style of each tool as the settings keep it: "Markup" + the tool's name, valued
// "RRGGBB,width,fill,font size" ("DC1E1E,3,0,24").
#include <optional>
#include <string>
#include <string_view>

#include "markup/mark.h"

namespace vimbrel {

std::string ToolName(MarkTool tool);  // "Rectangle", "Highlighter", ...
std::string StyleSettingName(MarkTool tool);
std::string StyleText(const MarkStyle& style);
// Nothing for a text that is not a style; numbers are held to the ranges the menus offer.
std::optional<MarkStyle> ParseStyle(std::string_view text);

inline constexpr int kMinMarkWidth = 1, kMaxMarkWidth = 64;
inline constexpr int kMinFontSize = 6, kMaxFontSize = 400;

}  // namespace vimbrel
