#include "commands/history.h"

namespace kbt2 {

bool History::typed(FieldRef field, Worksheet::Snapshot now) {
    if (now == current()) return false;
    if (typing_ != field || position_ != entries_.size()) {
        push(Step{Step::Kind::Typing, field, {}}, std::move(now), fileAt(position_));
        typing_ = field;
        return true;
    }
    Entry& open = entries_.back();
    open.after = std::move(now);
    if (open.after == stateAt(position_ - 1)) {
        entries_.pop_back();
        --position_;
        typing_.reset();
    }
    return true;
}

bool History::acted(Step step, Worksheet::Snapshot now, bool endsTyping, WorksheetFileRef file) {
    if (now == current()) {
        if (endsTyping) typing_.reset();
        // Only this state takes the new file: the ones before and after it
        // keep theirs.
        if (file) (position_ == 0 ? baseFile_ : entries_[position_ - 1].file) = std::move(file);
        return false;
    }
    typing_.reset();
    if (!file) file = fileAt(position_);
    push(std::move(step), std::move(now), std::move(file));
    return true;
}

void History::push(Step step, Worksheet::Snapshot now, WorksheetFileRef file) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position_), entries_.end());
    entries_.push_back(Entry{std::move(step), std::move(now), std::move(file)});
    ++position_;
    if (entries_.size() > kStepsKept) {
        base_ = std::move(entries_.front().after);
        baseFile_ = std::move(entries_.front().file);
        entries_.pop_front();
        --position_;
    }
}

const Worksheet::Snapshot* History::undo() {
    typing_.reset();
    if (position_ == 0) return nullptr;
    return &stateAt(--position_);
}

const Worksheet::Snapshot* History::redo() {
    typing_.reset();
    if (position_ == entries_.size()) return nullptr;
    return &stateAt(++position_);
}

}  // namespace kbt2
