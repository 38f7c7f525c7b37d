#include <utility>

#include "commands/form.h"

namespace kbt2 {

void Form::startAs(const Worksheet::Snapshot& state) {
    worksheet_.restore(state);
    history_ = History(keepsHistory_ ? worksheet_.snapshot() : Worksheet::Snapshot{});
    fileName_.clear();
    saved_.reset();
    fileUsed_.reset();
    replacedUnsaved_.reset();
    lastPremium_ = {};
}

void Form::exchangeDocument(Form& other) {
    if (&other == this) return;
    Worksheet::Snapshot mine = worksheet_.snapshot();
    worksheet_.restore(other.worksheet_.snapshot());
    other.worksheet_.restore(mine);
    std::swap(history_, other.history_);
    std::swap(fileName_, other.fileName_);
    std::swap(saved_, other.saved_);
    std::swap(lastPremium_, other.lastPremium_);
    fileUsed_.reset();
    other.fileUsed_.reset();
    replacedUnsaved_.reset();
    other.replacedUnsaved_.reset();
}

}  // namespace kbt2
