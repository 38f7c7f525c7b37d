#include "commands/form.h"
#include "commands/print.h"
#include "commands/save_load.h"
#include "storage/report.h"

namespace kbt2 {

bool Form::saveTo(const std::string& path) {
    fileUsed_.reset();
    const bool saved = saveWorksheetTo(worksheet_, platform_, path);
    record(Step{Step::Kind::Click, {Control::save}, {}}, true);
    return saved;
}

// A Load by another way in: the same step as the Load button's.
bool Form::loadFrom(const std::string& path) {
    fileUsed_.reset();
    const bool loaded = loadWorksheetFrom(worksheet_, platform_, path);
    record(Step{Step::Kind::Click, {Control::Load}, {}}, true);
    return loaded;
}

bool Form::open() {
    const auto path = platform_.chooseFile(FileDialogMode::Open, kWorksheetFileFilter);
    return path && openFrom(*path);
}

bool Form::openFrom(const std::string& path) {
    fileUsed_.reset();
    const bool opened = openWorksheetFrom(worksheet_, platform_, path);
    record(Step{Step::Kind::Click, {Control::Load}, {}}, true);
    return opened;
}

void Form::exportPdf() { exportReportPdf(worksheet_, platform_); }

PrintDocument Form::report() const { return composeReport(worksheet_); }

WorksheetFileOutcome Form::writeCopy(const std::string& path) const { return writeWorksheetFile(worksheet_, path); }

WorksheetFileOutcome Form::writeCopy(const Worksheet::Snapshot& state, const std::string& path) {
    Worksheet copy;
    copy.restore(state);
    return writeWorksheetFile(copy, path);
}

WorksheetFileOutcome Form::recoverFrom(const std::string& path, const std::string& shownName) {
    fileUsed_.reset();
    auto read = readWorksheetFile(worksheet_, path);
    if (!read.ok()) return read;
    // The recovered work belongs to no file yet: Save asks where it goes,
    // so no file the user saved is overwritten unasked.
    record(Step{Step::Kind::Recover, {Control::Clear}, shownName}, true);
    return Done{};
}

std::optional<Worksheet> Form::peekCopy(const std::string& path) {
    std::optional<Worksheet> copy(std::in_place);
    if (!readWorksheetFile(*copy, path).ok()) return std::nullopt;
    return copy;
}

}  // namespace kbt2
