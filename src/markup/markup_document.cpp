#include "markup/markup_document.h"

#include <utility>

namespace vimbrel {

void MarkupDocument::Remember() {
    undo_.push_back(marks_);
    if (undo_.size() > kHistoryDepth) undo_.erase(undo_.begin());
    redo_.clear();
}

void MarkupDocument::Add(Mark mark) {
    Remember();
    marks_.push_back(std::move(mark));
    selected_ = int(marks_.size()) - 1;
}

void MarkupDocument::Replace(int index, Mark mark) {
    if (index < 0 || index >= int(marks_.size()) || marks_[std::size_t(index)] == mark) return;
    Remember();
    marks_[std::size_t(index)] = std::move(mark);
}

void MarkupDocument::Remove(int index) {
    if (index < 0 || index >= int(marks_.size())) return;
    Remember();
    marks_.erase(marks_.begin() + index);
    selected_ = -1;
}

void MarkupDocument::BeginLive() {
    if (live_) return;
    beforeLive_ = marks_;
    live_ = true;
}

void MarkupDocument::RemoveLive(int index) {
    if (index < 0 || index >= int(marks_.size())) return;
    marks_.erase(marks_.begin() + index);
    selected_ = -1;
}

void MarkupDocument::FinishLive() {
    if (!live_) return;
    live_ = false;
    if (beforeLive_ == marks_) return;
    undo_.push_back(std::move(beforeLive_));
    if (undo_.size() > kHistoryDepth) undo_.erase(undo_.begin());
    redo_.clear();
}

void MarkupDocument::CancelLive() {
    if (!live_) return;
    live_ = false;
    marks_ = std::move(beforeLive_);
    Select(selected_);
}

bool MarkupDocument::Undo() {
    CancelLive();
    if (undo_.empty()) return false;
    redo_.push_back(std::move(marks_));
    marks_ = std::move(undo_.back());
    undo_.pop_back();
    selected_ = -1;
    return true;
}

bool MarkupDocument::Redo() {
    CancelLive();
    if (redo_.empty()) return false;
    undo_.push_back(std::move(marks_));
    marks_ = std::move(redo_.back());
    redo_.pop_back();
    selected_ = -1;
    return true;
}

void MarkupDocument::Clear() {
    marks_.clear();
    undo_.clear();
    redo_.clear();
    beforeLive_.clear();
    live_ = false;
    selected_ = -1;
}

int MarkupDocument::StepNumber(int index) const {
    int n = 0;
    for (int i = 0; i <= index && i < int(marks_.size()); ++i)
        if (marks_[std::size_t(i)].kind == MarkTool::Step) ++n;
    return n;
}

}  // namespace vimbrel
