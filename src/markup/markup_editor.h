#pragma once
// The markup tools at work: a press, drags and a release draw a mark with the chosen tool,
// or select, move and resize marks; typed characters fill the text box being edited. All
// positions are in the picture's own pixels.
#include <map>
#include <optional>

#include "markup/mark.h"
#include "markup/markup_document.h"
#include "markup/text_shaper.h"

namespace vimbrel {

// The style each tool starts with until the user picks another.
MarkStyle DefaultStyle(MarkTool tool);

class MarkupEditor {
public:
    MarkupEditor(MarkupDocument& document, const TextShaper& shaper);

    MarkTool Tool() const { return tool_; }
    // Ends the text being typed and any drag.
    void SetTool(MarkTool tool);

    const MarkStyle& StyleOf(MarkTool tool) const;
    void SetStyleOf(MarkTool tool, const MarkStyle& style) { styles_[tool] = style; }
    // The style the style menus show: the selected mark's, or else the tool's.
    MarkStyle ShownStyle() const;
    // Changes the shown style: the selected mark's as one step, and the tool's for the next
    // mark (the tool of the selected mark's kind when the select tool is on). Returns the
    // tool whose style changed.
    template <class Change>
    MarkTool ChangeStyle(Change&& change) {
        const Mark* selected = document_.SelectedMark();
        const MarkTool tool = selected && tool_ == MarkTool::Select ? selected->kind : tool_;
        if (selected) {
            Mark m = *selected;
            change(m.style);
            Changed(MarkBoundsOf(*selected));
            document_.Replace(document_.Selected(), m);
            Changed(MarkBoundsOf(m));
        }
        if (tool != MarkTool::Select) change(styles_[tool]);
        return tool;
    }

    // A left press at `at`; `reach` is how near a stroke or handle counts as touching it.
    // False when the press is not the markup's (the select tool on no mark), so the view's
    // own press handling runs.
    bool Press(Point at, int reach);
    void Drag(Point at);
    void Release(Point at);
    bool Pressed() const { return pressed_; }

    // Typing into the text box being edited: characters, '\b' (Backspace), '\r' (Enter).
    bool EditingText() const { return editing_ >= 0; }
    int EditedText() const { return editing_; }
    bool Type(char32_t c);
    void FinishText();
    // Escape: the text or the drag under way ends, or else the selection.
    void Cancel();

    bool MoveSelected(int dx, int dy);
    bool DeleteSelected();
    bool Undo();
    bool Redo();
    // A new picture.
    void Clear();

    // A mark still being drawn, not yet in the document.
    const Mark* Drawing() const { return drawing_ ? &*drawing_ : nullptr; }

    // Picture pixels that changed since the last call; `all` when the whole view must be
    // drawn again.
    struct Changes {
        Rect area;
        bool all = false;
    };
    Changes TakeChanges();

private:
    Rect MarkBoundsOf(const Mark& m) const;
    void Changed(const Rect& area);
    void ChangedAll() { changes_.all = true; }
    void StartText(int index);

    MarkupDocument& document_;
    const TextShaper& shaper_;
    MarkTool tool_ = MarkTool::Select;
    std::map<MarkTool, MarkStyle> styles_;

    enum class Gesture { None, Draw, Move, Resize };
    Gesture gesture_ = Gesture::None;
    bool pressed_ = false;
    Point pressAt_{};
    int handle_ = -1;
    std::optional<Mark> original_;  // the mark as it was when a move or resize began
    std::optional<Mark> drawing_;
    int editing_ = -1;
    Changes changes_;
};

}  // namespace vimbrel
