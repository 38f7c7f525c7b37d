#include <memory>
#include <utility>

#include "commands/form.h"

namespace kbt2 {

void Form::startAs(const Worksheet::Snapshot& state) {
    worksheet_.restore(state);
    // A copy belongs to no file and has never been saved.
    history_ =
        History(keepsHistory_ ? worksheet_.snapshot() : Worksheet::Snapshot{}, std::make_shared<WorksheetFile>());
    fileUsed_.reset();
    replacedUnsaved_.reset();
    lastPremium_ = {};
}

void Form::exchangeDocument(Form& other) {
    if (&other == this) return;
    Worksheet::Snapshot mine = worksheet_.snapshot();
    worksheet_.restore(other.worksheet_.snapshot());
    other.worksheet_.restore(mine);
    // The file and the state saved there travel with the history.
    std::swap(history_, other.history_);
    std::swap(lastPremium_, other.lastPremium_);
    fileUsed_.reset();
    other.fileUsed_.reset();
    replacedUnsaved_.reset();
    other.replacedUnsaved_.reset();
}

}  // namespace kbt2
