#pragma once
// The marks over the current picture, bottom first, with the one selected and an undo and
// redo history over every finished step (a mark drawn, moved, resized, restyled, retyped
// or deleted).
#include <cstddef>
#include <utility>
#include <vector>

#include "markup/mark.h"

namespace vimbrel {

class MarkupDocument {
public:
    static constexpr std::size_t kHistoryDepth = 100;

    const std::vector<Mark>& Marks() const { return marks_; }
    bool Empty() const { return marks_.empty(); }
    int Selected() const { return selected_; }
    const Mark* SelectedMark() const { return selected_ >= 0 ? &marks_[std::size_t(selected_)] : nullptr; }
    void Select(int index) { selected_ = index >= 0 && index < int(marks_.size()) ? index : -1; }

    // One finished step each; the history remembers the marks as they were before it.
    void Add(Mark mark);  // on top, selected
    void Replace(int index, Mark mark);
    void Remove(int index);

    // A change still under way (a drag): shown at once, remembered as one step by
    // FinishLive, forgotten by CancelLive.
    void BeginLive();
    Mark& Live(int index) { return marks_[std::size_t(index)]; }
    void AddLive(Mark mark) { marks_.push_back(std::move(mark)); }
    void RemoveLive(int index);
    void FinishLive();
    void CancelLive();
    bool LiveUnderWay() const { return live_; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    bool Undo();
    bool Redo();

    // A new picture: no marks and no history.
    void Clear();

    // The number a step shows: its place among the steps, from 1, so deleting one renumbers
    // those above it.
    int StepNumber(int index) const;
    // The topmost mark at `at`, or -1.
    template <class Touch>
    int TopmostAt(Touch&& touches) const {
        for (int i = int(marks_.size()) - 1; i >= 0; --i)
            if (touches(marks_[std::size_t(i)])) return i;
        return -1;
    }

private:
    void Remember();

    std::vector<Mark> marks_;
    int selected_ = -1;
    std::vector<std::vector<Mark>> undo_, redo_;
    std::vector<Mark> beforeLive_;
    bool live_ = false;
};

}  // namespace vimbrel
