#pragma once
// The Markup menu and the marks over the current picture: the tools and their keys, the
// style menus, the markup's own undo and redo, and the picture's mouse and keys while a
// tool works. Every output takes the marks through the current image.
#include <optional>

#include "capture/area_selection.h"
#include "commands/command_ports.h"
#include "commands/command_router.h"
#include "commands/command_table.h"
#include "markup/mark_renderer.h"
#include "markup/markup_document.h"
#include "markup/markup_editor.h"
#include "workspace/current_image.h"

namespace vimbrel {

namespace cmd {
VIMBREL_COMMAND(mnuMarkup);
VIMBREL_COMMAND(mnuMarkSelect);
VIMBREL_COMMAND(mnuMarkRectangle);
VIMBREL_COMMAND(mnuMarkEllipse);
VIMBREL_COMMAND(mnuMarkLine);
VIMBREL_COMMAND(mnuMarkArrow);
VIMBREL_COMMAND(mnuMarkPen);
VIMBREL_COMMAND(mnuMarkHighlighter);
VIMBREL_COMMAND(mnuMarkText);
VIMBREL_COMMAND(mnuMarkStep);
VIMBREL_COMMAND(mnuMarkRedact);
VIMBREL_COMMAND(mnuMarkColour);
VIMBREL_COMMAND(mnuMarkColour0);
VIMBREL_COMMAND(mnuMarkColour1);
VIMBREL_COMMAND(mnuMarkColour2);
VIMBREL_COMMAND(mnuMarkColour3);
VIMBREL_COMMAND(mnuMarkColour4);
VIMBREL_COMMAND(mnuMarkColour5);
VIMBREL_COMMAND(mnuMarkColour6);
VIMBREL_COMMAND(mnuMarkMoreColours);
VIMBREL_COMMAND(mnuMarkWidth);
VIMBREL_COMMAND(mnuMarkWidth1);
VIMBREL_COMMAND(mnuMarkWidth2);
VIMBREL_COMMAND(mnuMarkWidth3);
VIMBREL_COMMAND(mnuMarkWidth5);
VIMBREL_COMMAND(mnuMarkWidth8);
VIMBREL_COMMAND(mnuMarkFill);
VIMBREL_COMMAND(mnuMarkFont);
VIMBREL_COMMAND(mnuMarkFont12);
VIMBREL_COMMAND(mnuMarkFont16);
VIMBREL_COMMAND(mnuMarkFont24);
VIMBREL_COMMAND(mnuMarkFont32);
VIMBREL_COMMAND(mnuMarkFont48);
VIMBREL_COMMAND(mnuMarkUndo);
VIMBREL_COMMAND(mnuMarkRedo);
VIMBREL_COMMAND(mnuMarkDelete);
VIMBREL_COMMAND(mnuMarkClear);
}  // namespace cmd

namespace handler {
VIMBREL_HANDLER(MarkupTool);      // argument: the tool
VIMBREL_HANDLER(MarkupColour);    // argument: the palette's colour, or -1 for the colour dialog
VIMBREL_HANDLER(MarkupWidth);     // argument: pixels
VIMBREL_HANDLER(MarkupFill);
VIMBREL_HANDLER(MarkupFontSize);  // argument: pixels
VIMBREL_HANDLER(MarkupUndo);
VIMBREL_HANDLER(MarkupRedo);
VIMBREL_HANDLER(MarkupDelete);
VIMBREL_HANDLER(MarkupClear);
}  // namespace handler

// The tools in the order the menu and the tool bar show them, with their keys.
struct MarkupToolControl {
    MarkTool tool;
    CommandName name;
    const char* caption;
    char key;  // 0: none
};
const std::vector<MarkupToolControl>& MarkupTools();
// The palette of the Colour menu.
const std::vector<MarkColour>& MarkupPalette();

// Virtual-key codes the markup handles.
namespace markup_keys {
inline constexpr int kBack = 0x08, kReturn = 0x0D, kEscape = 0x1B, kDelete = 0x2E;
inline constexpr int kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
}  // namespace markup_keys

// What the markup needs of the window that shows it.
class MarkupCanvas {
public:
    virtual ~MarkupCanvas() = default;
    // Those picture pixels (or all of the view) are drawn again soon.
    virtual void Repaint(const Rect& picturePixels) = 0;
    virtual void RepaintAll() = 0;
    // The system colour dialog; nothing when cancelled.
    virtual std::optional<MarkColour> AskColour(MarkColour initial) = 0;
    // The tool changed: the tool bar and the pointer follow.
    virtual void ToolChanged(MarkTool tool) = 0;
};

class MarkupCommands : public PictureMarks {
public:
    static void AddControls(CommandTable& table);

    MarkupCommands(const CommandDeps& deps, const TextShaper& shaper, MarkupCanvas& canvas);
    ~MarkupCommands() override;
    void BindTo(CommandRouter& router);

    void ChooseTool(MarkTool tool);
    MarkTool Tool() const { return editor_.Tool(); }
    void ChooseColour(int paletteIndex);
    void ChooseWidth(int pixels);
    void ToggleFill();
    void ChooseFontSize(int pixels);
    bool UndoMarkup();
    bool RedoMarkup();
    void RemoveAll();

    // The picture's mouse at shown-image pixels; `reach` is the handles' half size there.
    // False when the press is not the markup's: the view's own handling runs.
    bool MouseDown(MouseButton button, Point shown, int reach);
    bool MouseMove(Point shown);
    bool MouseUp(MouseButton button, Point shown);
    // A key pressed over the window, before the menus' shortcuts; true when it was used.
    bool Key(int virtualKey, bool ctrl, bool shift);
    // A typed character for the text being edited.
    bool Char(char32_t c);
    bool EditingText() const { return editor_.EditingText(); }

    // Whether there is anything to draw over the picture.
    bool Shows() const;
    // Draws the marks, the one being drawn and the selection over `target`, which holds the
    // shown picture's pixels from `origin` on; `clip` in target pixels.
    void PaintOver(Bitmap& target, Point origin, const Rect& clip, int handleSize);

    const MarkupDocument& Document() const { return document_; }
    // The zoom the picture is shown at.
    double Zoom() const;

    // PictureMarks
    bool Empty() const override { return document_.Empty(); }
    Bitmap DrawnInto(const Bitmap& base, double scale) const override;
    void PictureReplaced() override;
    void PictureChanged() override;

private:
    Point PicturePoint(Point shown) const;
    void Refresh();
    void RememberStyle(MarkTool tool);

    CommandDeps deps_;
    const TextShaper& shaper_;
    MarkupCanvas& canvas_;
    MarkupDocument document_;
    MarkupEditor editor_;
    MarkRenderer renderer_;
};

}  // namespace vimbrel
