#include "markup/markup_editor.h"

#include <utility>

#include "markup/mark_geometry.h"
#include <algorithm>

namespace vimbrel {
namespace {

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xF0 | (c >> 18));
        text += char(0x80 | ((c >> 12) & 0x3F));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
}

void EraseLastCharacter(std::string& text) {
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((last & 0xC0) != 0x80) break;  // the lead byte went too
    }
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

MarkStyle DefaultStyle(MarkTool tool) {
    MarkStyle s;
    switch (tool) {
    case MarkTool::Highlighter:
        s.colour = MarkColour{255, 230, 0};
        s.width = 5;
        break;
    case MarkTool::Redact: s.colour = MarkColour{0, 0, 0}; break;
    case MarkTool::Step: s.fontSize = 20; break;
    default: break;
    }
    return s;
}

MarkupEditor::MarkupEditor(MarkupDocument& document, const TextShaper& shaper) : document_(document), shaper_(shaper) {}

const MarkStyle& MarkupEditor::StyleOf(MarkTool tool) const {
    static const std::map<MarkTool, MarkStyle> defaults = [] {
        std::map<MarkTool, MarkStyle> d;
        for (int t = 0; t <= int(MarkTool::Redact); ++t) d[MarkTool(t)] = DefaultStyle(MarkTool(t));
        return d;
    }();
    auto it = styles_.find(tool);
    return it != styles_.end() ? it->second : defaults.at(tool);
}

MarkStyle MarkupEditor::ShownStyle() const {
    if (const Mark* m = document_.SelectedMark()) return m->style;
    return StyleOf(tool_);
}

Rect MarkupEditor::MarkBoundsOf(const Mark& m) const { return MarkBounds(m, shaper_); }

void MarkupEditor::Changed(const Rect& area) { changes_.area = Union(changes_.area, area); }

MarkupEditor::Changes MarkupEditor::TakeChanges() { return std::exchange(changes_, Changes{}); }

void MarkupEditor::SetTool(MarkTool tool) {
    FinishText();
    Cancel();
    if (styles_.find(tool) == styles_.end() && tool != MarkTool::Select) styles_[tool] = StyleOf(tool);
    tool_ = tool;
}

void MarkupEditor::StartText(int index) {
    editing_ = index;
    document_.Select(index);
    ChangedAll();
}

bool MarkupEditor::Press(Point at, int reach) {
    if (pressed_) return true;
    if (editing_ >= 0) {
        const Mark& text = document_.Marks()[std::size_t(editing_)];
        const bool inside = Touches(text, at, reach, shaper_);
        FinishText();
        if (inside && tool_ == MarkTool::Text) return true;
    }
    pressAt_ = at;
    // The selected mark's handles come first, whatever the tool.
    if (const Mark* selected = document_.SelectedMark()) {
        const int handle = HandleAt(*selected, at, reach);
        if (handle >= 0) {
            gesture_ = Gesture::Resize;
            handle_ = handle;
            original_ = *selected;
            document_.BeginLive();
            pressed_ = true;
            return true;
        }
    }
    auto touches = [&](const Mark& m) { return Touches(m, at, reach, shaper_); };
    switch (tool_) {
    case MarkTool::Select: {
        const int hit = document_.TopmostAt(touches);
        if (hit < 0) {
            if (document_.Selected() >= 0) ChangedAll();
            document_.Select(-1);
            return false;
        }
        document_.Select(hit);
        ChangedAll();
        gesture_ = Gesture::Move;
        original_ = document_.Marks()[std::size_t(hit)];
        document_.BeginLive();
        pressed_ = true;
        return true;
    }
    case MarkTool::Text: {
        const int hit = document_.TopmostAt([&](const Mark& m) { return m.kind == MarkTool::Text && touches(m); });
        document_.BeginLive();
        if (hit >= 0) {
            StartText(hit);
        } else {
            document_.Select(-1);
            // Added inside the live change: a text left empty goes again with no step kept.
            Mark text{MarkTool::Text, StyleOf(MarkTool::Text), {at}, {}};
            document_.AddLive(std::move(text));
            StartText(int(document_.Marks().size()) - 1);
        }
        return true;
    }
    case MarkTool::Step: {
        Mark step{MarkTool::Step, StyleOf(MarkTool::Step), {at}, {}};
        document_.Add(step);
        // Steps above it are numbered again.
        ChangedAll();
        return true;
    }
    default:
        drawing_ = Mark{tool_, StyleOf(tool_), IsStrokeKind(tool_) ? std::vector<Point>{at} : std::vector<Point>{at, at}, {}};
        gesture_ = Gesture::Draw;
        pressed_ = true;
        if (document_.Selected() >= 0) ChangedAll();
        document_.Select(-1);
        return true;
    }
}

void MarkupEditor::Drag(Point at) {
    if (!pressed_) return;
    switch (gesture_) {
    case Gesture::Draw:
        Changed(MarkBoundsOf(*drawing_));
        if (IsStrokeKind(drawing_->kind)) {
            if (drawing_->points.back() != at) drawing_->points.push_back(at);
        } else {
            drawing_->points[1] = at;
        }
        Changed(MarkBoundsOf(*drawing_));
        break;
    case Gesture::Move: {
        Mark& live = document_.Live(document_.Selected());
        Changed(MarkBoundsOf(live));
        live = Moved(*original_, SubtractPixels(at.x, pressAt_.x), SubtractPixels(at.y, pressAt_.y));
        Changed(MarkBoundsOf(live));
        break;
    }
    case Gesture::Resize: {
        Mark& live = document_.Live(document_.Selected());
        Changed(MarkBoundsOf(live));
        live = Resized(*original_, handle_, at);
        Changed(MarkBoundsOf(live));
        break;
    }
    case Gesture::None: break;
    }
}

void MarkupEditor::Release(Point at) {
    if (!pressed_) return;
    Drag(at);
    pressed_ = false;
    if (gesture_ == Gesture::Draw) {
        Mark done = std::move(*drawing_);
        drawing_.reset();
        Changed(MarkBoundsOf(done));
        if (WorthKeeping(done)) document_.Add(std::move(done));
        ChangedAll();
    } else {
        document_.FinishLive();
    }
    gesture_ = Gesture::None;
    original_.reset();
}

bool MarkupEditor::Type(char32_t c) {
    if (editing_ < 0) return false;
    Mark& text = document_.Live(editing_);
    Changed(MarkBoundsOf(text));
    if (c == U'\b')
        EraseLastCharacter(text.text);
    else if (c == U'\r' || c == U'\n')
        text.text += '\n';
    else if (c >= 0x20 && c != 0x7F && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF))
        AppendUtf8(text.text, c);
    Changed(MarkBoundsOf(text));
    return true;
}

void MarkupEditor::FinishText() {
    if (editing_ < 0) return;
    const int index = std::exchange(editing_, -1);
    if (document_.Marks()[std::size_t(index)].text.empty()) document_.RemoveLive(index);
    document_.FinishLive();
    ChangedAll();
}

void MarkupEditor::Cancel() {
    if (editing_ >= 0) {
        FinishText();
        return;
    }
    if (pressed_) {
        pressed_ = false;
        gesture_ = Gesture::None;
        drawing_.reset();
        original_.reset();
        document_.CancelLive();
        ChangedAll();
        return;
    }
    if (document_.Selected() >= 0) ChangedAll();
    document_.Select(-1);
}

bool MarkupEditor::MoveSelected(int dx, int dy) {
    const Mark* m = document_.SelectedMark();
    if (!m || pressed_ || editing_ >= 0) return false;
    Changed(MarkBoundsOf(*m));
    const Mark moved = Moved(*m, dx, dy);
    Changed(MarkBoundsOf(moved));
    document_.Replace(document_.Selected(), moved);
    return true;
}

bool MarkupEditor::DeleteSelected() {
    if (!document_.SelectedMark() || pressed_ || editing_ >= 0) return false;
    document_.Remove(document_.Selected());
    ChangedAll();
    return true;
}

bool MarkupEditor::Undo() {
    FinishText();
    Cancel();
    if (!document_.Undo()) return false;
    ChangedAll();
    return true;
}

bool MarkupEditor::Redo() {
    FinishText();
    Cancel();
    if (!document_.Redo()) return false;
    ChangedAll();
    return true;
}

void MarkupEditor::Clear() {
    editing_ = -1;
    pressed_ = false;
    gesture_ = Gesture::None;
    drawing_.reset();
    original_.reset();
    document_.Clear();
    ChangedAll();
}

}  // namespace vimbrel
