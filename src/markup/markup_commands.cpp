#include "markup/markup_commands.h"

#include <cmath>

#include "markup/markup_styles.h"

namespace vimbrel {
namespace {

MenuItem Item(CommandName name, std::string caption, Handler h, std::string shortcut = {}, int argument = 0) {
    return MenuItem{name, std::move(caption), std::move(shortcut), h, argument, false, {}};
}
MenuItem Sub(CommandName name, std::string caption, std::vector<MenuItem> children) {
    MenuItem item = Item(name, std::move(caption), handler::None);
    item.children = std::move(children);
    return item;
}

struct Choice {
    CommandName name;
    const char* caption;
    int value;
};
const std::vector<Choice> kColours = {{cmd::mnuMarkColour0, "&Red", 0},   {cmd::mnuMarkColour1, "&Orange", 1},
                                      {cmd::mnuMarkColour2, "&Yellow", 2}, {cmd::mnuMarkColour3, "&Green", 3},
                                      {cmd::mnuMarkColour4, "&Blue", 4},   {cmd::mnuMarkColour5, "Blac&k", 5},
                                      {cmd::mnuMarkColour6, "&White", 6}};
const std::vector<Choice> kWidths = {{cmd::mnuMarkWidth1, "&1 Pixel", 1},  {cmd::mnuMarkWidth2, "&2 Pixels", 2},
                                     {cmd::mnuMarkWidth3, "&3 Pixels", 3}, {cmd::mnuMarkWidth5, "&5 Pixels", 5},
                                     {cmd::mnuMarkWidth8, "&8 Pixels", 8}};
const std::vector<Choice> kFontSizes = {{cmd::mnuMarkFont12, "&12", 12}, {cmd::mnuMarkFont16, "1&6", 16},
                                        {cmd::mnuMarkFont24, "&24", 24}, {cmd::mnuMarkFont32, "&32", 32},
                                        {cmd::mnuMarkFont48, "&48", 48}};

// Handles are a fixed size on the screen: a press this near one takes it.
constexpr int kMinReach = 2;

}  // namespace

const std::vector<MarkupToolControl>& MarkupTools() {
    static const std::vector<MarkupToolControl> tools = {
        {MarkTool::Select, cmd::mnuMarkSelect, "&Select and Move", 0},
        {MarkTool::Rectangle, cmd::mnuMarkRectangle, "&Rectangle", 'R'},
        {MarkTool::Ellipse, cmd::mnuMarkEllipse, "&Ellipse", 'E'},
        {MarkTool::Line, cmd::mnuMarkLine, "&Line", 'L'},
        {MarkTool::Arrow, cmd::mnuMarkArrow, "&Arrow", 'A'},
        {MarkTool::Pen, cmd::mnuMarkPen, "&Pen", 'P'},
        {MarkTool::Highlighter, cmd::mnuMarkHighlighter, "&Highlighter", 'H'},
        {MarkTool::Text, cmd::mnuMarkText, "&Text", 'T'},
        {MarkTool::Step, cmd::mnuMarkStep, "&Numbered Step", 'N'},
        {MarkTool::Redact, cmd::mnuMarkRedact, "Re&dact", 'X'},
    };
    return tools;
}

const std::vector<MarkColour>& MarkupPalette() {
    static const std::vector<MarkColour> palette = {{220, 30, 30}, {255, 140, 0},  {255, 230, 0}, {34, 160, 60},
                                                    {30, 100, 220}, {0, 0, 0}, {255, 255, 255}};
    return palette;
}

void MarkupCommands::AddControls(CommandTable& table) {
    std::vector<MenuItem> items;
    for (const MarkupToolControl& t : MarkupTools())
        items.push_back(Item(t.name, t.caption, handler::MarkupTool, t.key ? std::string(1, t.key) : "Esc", int(t.tool)));
    items.push_back(MenuItem{});
    std::vector<MenuItem> colours;
    for (const Choice& c : kColours) colours.push_back(Item(c.name, c.caption, handler::MarkupColour, {}, c.value));
    colours.push_back(MenuItem{});
    colours.push_back(Item(cmd::mnuMarkMoreColours, "&More Colours...", handler::MarkupColour, {}, -1));
    items.push_back(Sub(cmd::mnuMarkColour, "&Colour", std::move(colours)));
    std::vector<MenuItem> widths;
    for (const Choice& c : kWidths) widths.push_back(Item(c.name, c.caption, handler::MarkupWidth, {}, c.value));
    items.push_back(Sub(cmd::mnuMarkWidth, "Line &Width", std::move(widths)));
    items.push_back(Item(cmd::mnuMarkFill, "&Fill Shapes", handler::MarkupFill));
    std::vector<MenuItem> fonts;
    for (const Choice& c : kFontSizes) fonts.push_back(Item(c.name, c.caption, handler::MarkupFontSize, {}, c.value));
    items.push_back(Sub(cmd::mnuMarkFont, "F&ont Size", std::move(fonts)));
    items.push_back(MenuItem{});
    items.push_back(Item(cmd::mnuMarkUndo, "&Undo Markup", handler::MarkupUndo, "Ctrl+Z"));
    items.push_back(Item(cmd::mnuMarkRedo, "Red&o Markup", handler::MarkupRedo, "Ctrl+Y"));
    items.push_back(Item(cmd::mnuMarkDelete, "Delete &Mark", handler::MarkupDelete, "Del"));
    items.push_back(Item(cmd::mnuMarkClear, "Remove All Mar&ks", handler::MarkupClear));
    table.AddItem(Menu::Main, cmd::mnuImage, Sub(cmd::mnuMarkup, "&Markup", std::move(items)));
}

MarkupCommands::MarkupCommands(const CommandDeps& deps, const TextShaper& shaper, MarkupCanvas& canvas)
    : deps_(deps), shaper_(shaper), canvas_(canvas), editor_(document_, shaper), renderer_(shaper) {
    for (const MarkupToolControl& t : MarkupTools()) {
        if (t.tool == MarkTool::Select) continue;
        if (auto style = ParseStyle(deps_.store.Read(StyleSettingName(t.tool)))) editor_.SetStyleOf(t.tool, *style);
    }
    deps_.image.SetMarks(this);
    Refresh();
}

MarkupCommands::~MarkupCommands() { deps_.image.SetMarks(nullptr); }

void MarkupCommands::BindTo(CommandRouter& router) {
    router.Bind(handler::MarkupTool, [this](const CommandRef& ref) { ChooseTool(MarkTool(ref.argument)); });
    router.Bind(handler::MarkupColour, [this](const CommandRef& ref) { ChooseColour(ref.argument); });
    router.Bind(handler::MarkupWidth, [this](const CommandRef& ref) { ChooseWidth(ref.argument); });
    router.Bind(handler::MarkupFill, [this] { ToggleFill(); });
    router.Bind(handler::MarkupFontSize, [this](const CommandRef& ref) { ChooseFontSize(ref.argument); });
    router.Bind(handler::MarkupUndo, [this] { UndoMarkup(); });
    router.Bind(handler::MarkupRedo, [this] { RedoMarkup(); });
    router.Bind(handler::MarkupDelete, [this] {
        editor_.DeleteSelected();
        Refresh();
    });
    router.Bind(handler::MarkupClear, [this] { RemoveAll(); });
}

void MarkupCommands::ChooseTool(MarkTool tool) {
    editor_.SetTool(tool);
    canvas_.ToolChanged(tool);
    Refresh();
}

void MarkupCommands::RememberStyle(MarkTool tool) {
    if (tool == MarkTool::Select) return;
    deps_.store.Write(StyleSettingName(tool), StyleText(editor_.StyleOf(tool)));
}

void MarkupCommands::ChooseColour(int paletteIndex) {
    std::optional<MarkColour> colour;
    if (paletteIndex >= 0 && paletteIndex < int(MarkupPalette().size()))
        colour = MarkupPalette()[std::size_t(paletteIndex)];
    else
        colour = canvas_.AskColour(editor_.ShownStyle().colour);
    if (!colour) return;
    RememberStyle(editor_.ChangeStyle([&](MarkStyle& s) { s.colour = *colour; }));
    Refresh();
}

void MarkupCommands::ChooseWidth(int pixels) {
    RememberStyle(editor_.ChangeStyle([&](MarkStyle& s) { s.width = std::clamp(pixels, kMinMarkWidth, kMaxMarkWidth); }));
    Refresh();
}

void MarkupCommands::ToggleFill() {
    const bool fill = !editor_.ShownStyle().fill;
    RememberStyle(editor_.ChangeStyle([&](MarkStyle& s) { s.fill = fill; }));
    Refresh();
}

void MarkupCommands::ChooseFontSize(int pixels) {
    RememberStyle(editor_.ChangeStyle([&](MarkStyle& s) { s.fontSize = std::clamp(pixels, kMinFontSize, kMaxFontSize); }));
    Refresh();
}

bool MarkupCommands::UndoMarkup() {
    const bool undone = editor_.Undo();
    Refresh();
    return undone;
}

bool MarkupCommands::RedoMarkup() {
    const bool redone = editor_.Redo();
    Refresh();
    return redone;
}

void MarkupCommands::RemoveAll() {
    editor_.FinishText();
    editor_.Cancel();
    // One step for all of them.
    document_.BeginLive();
    while (!document_.Empty()) document_.RemoveLive(int(document_.Marks().size()) - 1);
    document_.FinishLive();
    canvas_.RepaintAll();
    Refresh();
}

double MarkupCommands::Zoom() const {
    const double zoom = deps_.image.ZoomFactor();
    return zoom > 0 ? zoom : 1.0;
}

Point MarkupCommands::PicturePoint(Point shown) const {
    const double zoom = Zoom();
    return Point{int(std::floor(shown.x / zoom)), int(std::floor(shown.y / zoom))};
}

bool MarkupCommands::MouseDown(MouseButton button, Point shown, int reach) {
    if (deps_.image.Image1().Empty() || deps_.image.StampCursor != 0) return false;
    if (button != MouseButton::Left) {
        // Another button ends what the left one does.
        if (!editor_.Pressed()) return false;
        editor_.Cancel();
        Refresh();
        return true;
    }
    const bool used = editor_.Press(PicturePoint(shown), std::max(kMinReach, int(std::lround(reach / Zoom()))));
    Refresh();
    return used;
}

bool MarkupCommands::MouseMove(Point shown) {
    if (!editor_.Pressed()) return false;
    editor_.Drag(PicturePoint(shown));
    Refresh();
    return true;
}

bool MarkupCommands::MouseUp(MouseButton button, Point shown) {
    if (button != MouseButton::Left || !editor_.Pressed()) return false;
    editor_.Release(PicturePoint(shown));
    Refresh();
    return true;
}

bool MarkupCommands::Key(int key, bool ctrl, bool shift) {
    using namespace markup_keys;
    bool used = false;
    if (ctrl) {
        // The markup's own undo goes first while it has a step to undo; then Undo is the
        // picture's again.
        if (key == 'Z') used = (document_.CanUndo() || editor_.EditingText()) && editor_.Undo();
        else if (key == 'Y') used = editor_.Redo();
    } else if (editor_.EditingText()) {
        if (key == kEscape) {
            editor_.FinishText();
            used = true;
        } else if (key == kBack) used = editor_.Type(U'\b');
        else if (key == kReturn) used = editor_.Type(U'\r');
        else used = key == kDelete || (key >= kLeft && key <= kDown);
    } else if (key == kDelete) {
        used = editor_.DeleteSelected();
    } else if (key >= kLeft && key <= kDown) {
        const int step = shift ? 10 : 1;
        used = editor_.MoveSelected(key == kLeft ? -step : key == kRight ? step : 0,
                                    key == kUp ? -step : key == kDown ? step : 0);
    } else if (key == kEscape) {
        if (editor_.Pressed() || document_.Selected() >= 0) {
            editor_.Cancel();
            used = true;
        } else if (editor_.Tool() != MarkTool::Select) {
            ChooseTool(MarkTool::Select);
            used = true;
        }
    } else if (!deps_.image.Image1().Empty()) {
        for (const MarkupToolControl& t : MarkupTools())
            if (t.key && key == t.key) {
                ChooseTool(t.tool);
                used = true;
            }
    }
    if (used) Refresh();
    return used;
}

bool MarkupCommands::Char(char32_t c) {
    // Backspace and Enter come as keys.
    if (!editor_.EditingText() || c == U'\b' || c == U'\r' || c == U'\n' || c == 0x1B) return editor_.EditingText();
    const bool used = editor_.Type(c);
    Refresh();
    return used;
}

bool MarkupCommands::Shows() const { return !document_.Empty() || editor_.Drawing() != nullptr; }

void MarkupCommands::PaintOver(Bitmap& target, Point origin, const Rect& clip, int handleSize) {
    const MarkView view{Zoom(), origin};
    const Bitmap& picture = deps_.image.imgMain;
    // Marks reaching past the picture are cut at its edge; the handles are not.
    const Bitmap& shown = deps_.image.Image1();
    const Rect onPicture = Intersect(clip, RelativeTo(Rect::At(0, 0, shown.Width(), shown.Height()), origin));
    renderer_.Draw(target, view, onPicture, document_.Marks(), picture);
    if (const Mark* drawing = editor_.Drawing()) renderer_.DrawMark(target, view, onPicture, *drawing, 0, picture);
    if (const Mark* selected = document_.SelectedMark())
        renderer_.DrawSelection(target, view, clip, *selected, handleSize,
                                editor_.EditingText() && editor_.EditedText() == document_.Selected());
}

Bitmap MarkupCommands::DrawnInto(const Bitmap& base, double scale) const {
    return WithMarks(base, scale, document_.Marks(), deps_.image.imgMain, shaper_);
}

void MarkupCommands::PictureReplaced() {
    editor_.Clear();
    renderer_.Forget();
    Refresh();
}

void MarkupCommands::PictureChanged() {
    renderer_.Forget();
    canvas_.RepaintAll();
}

void MarkupCommands::Refresh() {
    const MarkupEditor::Changes changes = editor_.TakeChanges();
    if (changes.all)
        canvas_.RepaintAll();
    else if (!changes.area.Empty())
        canvas_.Repaint(changes.area);
    CommandStates& c = deps_.commands;
    for (const MarkupToolControl& t : MarkupTools()) c.SetChecked(t.name, editor_.Tool() == t.tool);
    const MarkStyle style = editor_.ShownStyle();
    for (const Choice& k : kColours) c.SetChecked(k.name, MarkupPalette()[std::size_t(k.value)] == style.colour);
    for (const Choice& k : kWidths) c.SetChecked(k.name, style.width == k.value);
    for (const Choice& k : kFontSizes) c.SetChecked(k.name, style.fontSize == k.value);
    c.SetChecked(cmd::mnuMarkFill, style.fill);
    c.SetEnabled(cmd::mnuMarkUndo, document_.CanUndo() || editor_.EditingText());
    c.SetEnabled(cmd::mnuMarkRedo, document_.CanRedo());
    c.SetEnabled(cmd::mnuMarkDelete, document_.Selected() >= 0 && !editor_.EditingText());
    c.SetEnabled(cmd::mnuMarkClear, !document_.Empty());
}

}  // namespace vimbrel
