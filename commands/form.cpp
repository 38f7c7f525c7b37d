#include "commands/form.h"

#include <filesystem>
#include <utility>

#include "commands/clear.h"
#include "commands/commodity_boxes.h"
#include "commands/commodity_kbt.h"
#include "commands/exit.h"
#include "commands/preliminary_kbt.h"
#include "commands/premium.h"
#include "commands/print.h"
#include "commands/save_load.h"
#include "commands/state.h"

namespace kbt2 {
namespace {

using ClickHandler = void (*)(Form&);

struct Route {
    Control button;
    ClickHandler handler;
};

}  // namespace

// The premium takes its rates from the form's source and leaves a record of
// what it read, so it is the one handler that needs the form itself.
void premiumClick(Form& form) { form.lastPremium_ = command4Click(form.worksheet_, form.platform_, form.rates_); }

namespace {

// A button missing here does nothing when clicked.
// clang-format off
constexpr Route kRoutes[] = {
    {Control::Clear,    [](Form& f) { clearClick(f.worksheet()); }},
    {Control::Command1, [](Form& f) { exitClick(f.commandPlatform()); }},
    {Control::Command2, [](Form& f) { command2Click(f.worksheet(), f.commandPlatform()); }},
    {Control::Command3, [](Form& f) { command3Click(f.worksheet(), f.commandPlatform()); }},
    {Control::Command4, premiumClick},
    {Control::Command5, [](Form& f) { command5Click(f.worksheet()); }},
    {Control::save,     [](Form& f) { saveClick(f.worksheet(), f.commandPlatform()); }},
    {Control::Load,     [](Form& f) { loadClick(f.worksheet(), f.commandPlatform()); }},
    {Control::Print,    [](Form& f) { printClick(f.worksheet(), f.commandPlatform()); }},
};
// clang-format on

}  // namespace

// fileRates_ is declared before rates_, so it is whole when rates_ is bound
// to it (delegating to the other constructor would bind it before).
// A new worksheet belongs to no file and counts as saved as it is.
Form::Form(Platform& platform)
    : platform_(platform, *this),
      rates_(fileRates_),
      history_(worksheet_.snapshot(), std::make_shared<WorksheetFile>(WorksheetFile{{}, worksheet_.snapshot()})) {
    worksheet_.setEventHandler(this);
}

Form::Form(Platform& platform, RateSource& rates)
    : platform_(platform, *this),
      rates_(rates),
      history_(worksheet_.snapshot(), std::make_shared<WorksheetFile>(WorksheetFile{{}, worksheet_.snapshot()})) {
    worksheet_.setEventHandler(this);
}

Form::Form(Platform& platform, RateSource& rates, WithoutHistory)
    : platform_(platform, *this), rates_(rates), history_({}, std::make_shared<WorksheetFile>()), keepsHistory_(false) {
    worksheet_.setEventHandler(this);
}

bool Form::click(Control button) {
    fileUsed_.reset();
    for (const Route& route : kRoutes)
        if (route.button == button) route.handler(*this);
    return record(Step{Step::Kind::Click, {button}, {}}, true);
}

bool Form::setText(FieldRef field, std::string text) {
    worksheet_.setText(field, std::move(text));
    replacedUnsaved_.reset();
    return !keepsHistory_ || history_.typed(field, worksheet_.snapshot());
}

bool Form::paste(FieldRef focused, const std::vector<PasteEdit>& edits) {
    fileUsed_.reset();
    for (const PasteEdit& edit : edits) worksheet_.setText(edit.field, edit.text);
    return record(Step{Step::Kind::Paste, focused, {}}, true);
}

bool Form::setChecked(FieldRef box, bool checked) {
    fileUsed_.reset();
    worksheet_.setChecked(box, checked);
    return record(Step{Step::Kind::Check, box, {}}, false);
}

bool Form::select(FieldRef option) {
    fileUsed_.reset();
    worksheet_.select(option);
    return record(Step{Step::Kind::Select, option, {}}, false);
}

namespace {

// The steps that put other work in place of the worksheet's.
bool replacesWork(const Step& step) {
    if (step.kind == Step::Kind::Recover) return true;
    if (step.kind != Step::Kind::Click) return false;
    const Control c = step.field.control;
    return c == Control::Clear || c == Control::Load || c == Control::Command5;
}

}  // namespace

// The file the worksheet belongs to after `step`, when the step gives it
// another: the file a Load read; none after a Clear (the next Save asks
// where the work goes) or a recovery (which nothing saved yet). A Save keeps
// the file record and updates it.
WorksheetFileRef Form::fileAfter(const Step& step, const std::optional<std::string>& used) const {
    if (step.kind == Step::Kind::Recover) return std::make_shared<WorksheetFile>();
    if (step.kind != Step::Kind::Click) return nullptr;
    if (step.field.control == Control::Clear)
        return std::make_shared<WorksheetFile>(WorksheetFile{{}, worksheet_.snapshot()});
    if (step.field.control == Control::Load && used)
        return std::make_shared<WorksheetFile>(WorksheetFile{*used, worksheet_.snapshot()});
    return nullptr;
}

bool Form::record(Step step, bool endsTyping) {
    const std::optional<std::string> used = std::exchange(fileUsed_, std::nullopt);
    WorksheetFileRef file = fileAfter(step, used);
    const bool saved = used && !file;
    if (!keepsHistory_) {
        if (file) history_.file().name = file->name;
        if (saved) history_.file().name = *used;
        return true;
    }
    std::optional<Worksheet::Snapshot> before;
    if (replacesWork(step) && history_.file().saved != history_.current()) before = history_.current();
    if (used) step.fileName = std::filesystem::path(*used).filename().string();
    const bool changed = history_.acted(std::move(step), worksheet_.snapshot(), endsTyping, std::move(file));
    replacedUnsaved_ = changed ? std::move(before) : std::nullopt;
    if (saved) history_.file() = WorksheetFile{*used, worksheet_.snapshot()};
    return changed;
}

std::optional<Step> Form::moveTo(const Worksheet::Snapshot* state, std::optional<Step> step) {
    replacedUnsaved_.reset();
    if (!state) return std::nullopt;
    worksheet_.restore(*state);
    return step;
}

std::optional<Step> Form::undo() {
    std::optional<Step> step;
    if (const Step* s = history_.nextUndo()) step = *s;
    return moveTo(history_.undo(), std::move(step));
}

std::optional<Step> Form::redo() {
    std::optional<Step> step;
    if (const Step* s = history_.nextRedo()) step = *s;
    return moveTo(history_.redo(), std::move(step));
}

void Form::DocumentPlatform::worksheetFileUsed(const std::string& path) {
    outer_.worksheetFileUsed(path);
    form_.fileUsed_ = path;
}

void Form::checkBoxClicked(Control array, int /*index*/) { commodityBoxClick(worksheet_, array); }

void Form::optionSelected(Control array, int /*index*/) {
    if (array == Control::St) stateClick(worksheet_);
}

}  // namespace kbt2
