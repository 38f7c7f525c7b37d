#include <memory>
#include <utility>

#include "commands/form.h"
#include "commands/save_load.h"

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

WorksheetFileOutcome Form::startFromFile(const std::string& path, const std::string& belongsTo) {
    // The file is checked whole before any field is set, and the form's
    // handlers run as they do on a Load.
    if (auto read = readWorksheetFileFresh(worksheet_, path); !read.ok()) return read;
    history_ = History(keepsHistory_ ? worksheet_.snapshot() : Worksheet::Snapshot{},
                       std::make_shared<WorksheetFile>(WorksheetFile{belongsTo, worksheet_.snapshot()}));
    fileUsed_.reset();
    replacedUnsaved_.reset();
    lastPremium_ = {};
    return Done{};
}

void Form::markSaved(const std::string& path) {
    if (!keepsHistory_) {
        history_.file().name = path;
        return;
    }
    history_.file() = WorksheetFile{path, worksheet_.snapshot()};
}

}  // namespace kbt2
