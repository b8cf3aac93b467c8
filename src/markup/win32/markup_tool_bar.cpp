#include "markup/win32/markup_tool_bar.h"

#include <string>
#include <vector>

#include "markup/mark_renderer.h"
#include "markup/markup_commands.h"
#include "util/dpi_scale.h"
#include "workspace/win32/dib.h"

namespace vimbrel::win32 {
namespace {

constexpr int kDesignSide = 20;  // a picture's side at 96 dpi, in the marks' own units
constexpr int kBarId = 40;
constexpr std::size_t kColumns = 2;
constexpr MarkColour kInk{40, 40, 40}, kAccent{220, 30, 30};

Mark Picture(MarkTool kind, std::vector<Point> points, MarkColour colour = kInk, int width = 2) {
    Mark m{kind, MarkStyle{}, std::move(points), {}};
    m.style.colour = colour;
    m.style.width = width;
    return m;
}

// Each tool's picture in a 20 x 20 square.
std::vector<Mark> PictureOf(MarkTool tool) {
    switch (tool) {
    case MarkTool::Select: {
        return {Picture(MarkTool::Line, {{6, 3}, {6, 16}}), Picture(MarkTool::Line, {{6, 3}, {15, 12}}),
                Picture(MarkTool::Line, {{6, 16}, {10, 12}}), Picture(MarkTool::Line, {{10, 12}, {15, 12}}),
                Picture(MarkTool::Line, {{9, 12}, {12, 18}})};
    }
    case MarkTool::Rectangle: return {Picture(MarkTool::Rectangle, {{3, 5}, {17, 15}}, kAccent)};
    case MarkTool::Ellipse: return {Picture(MarkTool::Ellipse, {{2, 4}, {18, 16}}, kAccent)};
    case MarkTool::Line: return {Picture(MarkTool::Line, {{3, 17}, {17, 3}}, kAccent)};
    case MarkTool::Arrow: return {Picture(MarkTool::Arrow, {{3, 17}, {17, 3}}, kAccent, 1)};
    case MarkTool::Pen:
        return {Picture(MarkTool::Pen, {{3, 14}, {6, 8}, {9, 12}, {12, 6}, {15, 11}, {17, 8}}, kAccent)};
    case MarkTool::Highlighter: {
        Mark m = Picture(MarkTool::Highlighter, {{3, 10}, {17, 10}}, MarkColour{255, 220, 0}, 2);
        return {Picture(MarkTool::Line, {{3, 10}, {17, 10}}, kInk, 1), m};
    }
    case MarkTool::Text: {
        Mark t = Picture(MarkTool::Text, {{5, 1}}, kInk);
        t.text = "T";
        t.style.fontSize = 18;
        return {t};
    }
    case MarkTool::Step: {
        Mark s = Picture(MarkTool::Step, {{10, 10}}, kAccent);
        s.style.fontSize = 12;
        return {s};
    }
    case MarkTool::Redact: {
        std::vector<Mark> cells;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) {
                Mark c = Picture(MarkTool::Rectangle, {{3 + x * 5, 3 + y * 5}, {8 + x * 5, 8 + y * 5}},
                                 (x + y) % 2 ? MarkColour{90, 90, 90} : MarkColour{170, 170, 170});
                c.style.fill = true;
                cells.push_back(c);
            }
        return cells;
    }
    }
    return {};
}

}  // namespace

MarkupToolBar::~MarkupToolBar() {
    if (bar_) ::DestroyWindow(bar_);
}

void MarkupToolBar::Create(HWND parent, int dpi) {
    if (bar_) ::DestroyWindow(bar_);
    const int side = ScaleToDpi(kDesignSide, dpi);
    const auto& tools = MarkupTools();
    // The pictures side by side in one strip, on the bar's own colour.
    Bitmap strip(side * int(tools.size()), side, 24);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    FillPixels(strip, Rect::At(0, 0, strip.Width(), side), MarkColour{GetRValue(face), GetGValue(face), GetBValue(face)});
    MarkRenderer renderer(shaper_);
    for (std::size_t i = 0; i < tools.size(); ++i) {
        const Point origin{-int(i) * side, 0};
        renderer.Draw(strip, MarkView{double(side) / kDesignSide, origin}, Rect::At(int(i) * side, 0, side, side),
                      PictureOf(tools[i].tool), strip);
    }
    images_.reset(::ImageList_Create(side, side, ILC_COLOR24, int(tools.size()), 0));
    GdiBitmap pictures = CreateDibSection(strip);
    ::ImageList_Add(images_.get(), pictures.get(), nullptr);

    bar_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE | CCS_NORESIZE |
                                 CCS_NOPARENTALIGN | CCS_NODIVIDER | CCS_VERT,
                             0, 0, 0, 0, parent, HMENU(INT_PTR(kBarId)), ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    ::SendMessageA(bar_, TB_SETIMAGELIST, 0, LPARAM(images_.get()));
    std::vector<TBBUTTON> buttons;
    std::vector<std::string> hints;
    hints.reserve(tools.size());
    for (std::size_t i = 0; i < tools.size(); ++i) {
        std::string hint;
        for (const char* c = tools[i].caption; *c; ++c)
            if (*c != '&') hint += *c;
        if (tools[i].key) hint += std::string(" (") + tools[i].key + ")";
        hints.push_back(hint);
        TBBUTTON b{};
        b.iBitmap = int(i);
        b.idCommand = table_.Id(tools[i].name);
        // Two to a row, so every tool shows beside a picture box of the window's first size.
        b.fsState = TBSTATE_ENABLED | (i % kColumns == kColumns - 1 ? TBSTATE_WRAP : 0) |
                    (tools[i].tool == checked_ ? TBSTATE_CHECKED : 0);
        b.fsStyle = BTNS_CHECKGROUP;
        b.iString = INT_PTR(hints.back().c_str());
        buttons.push_back(b);
    }
    ::SendMessageA(bar_, TB_ADDBUTTONSA, WPARAM(buttons.size()), LPARAM(buttons.data()));
    const int button = side + ScaleToDpi(8, dpi);
    ::SendMessageA(bar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(button, button));
    width_ = kColumns * button + ScaleToDpi(4, dpi);
}

void MarkupToolBar::Check(MarkTool tool) {
    checked_ = tool;
    if (!bar_) return;
    for (const MarkupToolControl& t : MarkupTools())
        ::SendMessageA(bar_, TB_CHECKBUTTON, WPARAM(table_.Id(t.name)), MAKELPARAM(t.tool == tool ? TRUE : FALSE, 0));
}

}  // namespace vimbrel::win32
