#pragma once
// The worksheet's history: the states it went through, one per step, for
// undo and redo. A step is one action of a person that changed the worksheet
// (a field's text, a box's value, an option's selection or a control's
// visibility), together with everything its handlers and commands changed.
// Typing in one field is one step while nothing else happens in between.

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "worksheet/worksheet.h"

namespace kbt2 {

struct Step {
    enum class Kind { Typing, Check, Select, Click, Recover, Paste };
    Kind kind = Kind::Click;
    FieldRef field{Control::Clear};  // the field typed in or pasted at, the box, option or button
    std::string fileName;            // a Load's file (name only); a recovered copy's
};

// The file a state of the worksheet belongs to: its name (empty for none) and
// the state last saved to it or loaded from it (none for recovered work).
// The states from one step that changes the file to the next share one
// record, which a Save updates, so undo and redo bring back the file with
// the fields and unsaved work is told as unsaved in any state.
struct WorksheetFile {
    std::string name;
    std::optional<Worksheet::Snapshot> saved;
};
using WorksheetFileRef = std::shared_ptr<WorksheetFile>;

class History {
public:
    // At least this many of the newest steps are kept.
    static constexpr size_t kStepsKept = 100;

    History(Worksheet::Snapshot initial, WorksheetFileRef file)
        : base_(std::move(initial)), baseFile_(std::move(file)) {}

    // The worksheet after an edit of `field`'s text. Edits of one field merge
    // into one step until anything else is recorded; a typing step that ends
    // where it began is dropped. True when the worksheet changed.
    bool typed(FieldRef field, Worksheet::Snapshot now);
    // The worksheet after any other action: a step when it changed. A button
    // pressed ends the typing step whatever it does (`endsTyping`); a box or
    // option that changed nothing does not. `file`, when given, is the file
    // the worksheet belongs to from now on: the step's, or when the action
    // made no step, the present state's.
    bool acted(Step step, Worksheet::Snapshot now, bool endsTyping, WorksheetFileRef file = {});

    // The state to restore, or nothing when there is no step to undo/redo.
    const Worksheet::Snapshot* undo();
    const Worksheet::Snapshot* redo();
    const Step* nextUndo() const { return position_ > 0 ? &entries_[position_ - 1].step : nullptr; }
    const Step* nextRedo() const { return position_ < entries_.size() ? &entries_[position_].step : nullptr; }

    const Worksheet::Snapshot& current() const { return stateAt(position_); }
    // The file of the present state, which a Save updates in place.
    WorksheetFile& file() { return *fileAt(position_); }
    const WorksheetFile& file() const { return *fileAt(position_); }

private:
    struct Entry {
        Step step;
        Worksheet::Snapshot after;
        WorksheetFileRef file;
    };

    const Worksheet::Snapshot& stateAt(size_t position) const {
        return position == 0 ? base_ : entries_[position - 1].after;
    }
    const WorksheetFileRef& fileAt(size_t position) const {
        return position == 0 ? baseFile_ : entries_[position - 1].file;
    }
    void push(Step step, Worksheet::Snapshot now, WorksheetFileRef file);

    Worksheet::Snapshot base_;  // the state before the oldest step kept
    WorksheetFileRef baseFile_;
    std::deque<Entry> entries_;
    size_t position_ = 0;             // how many of the entries are done
    std::optional<FieldRef> typing_;  // the newest entry is open typing in this field
};

}  // namespace kbt2
