#include "commands/form.h"

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
    {Control::Command1, [](Form& f) { exitClick(f.platform()); }},
    {Control::Command2, [](Form& f) { command2Click(f.worksheet(), f.platform()); }},
    {Control::Command3, [](Form& f) { command3Click(f.worksheet(), f.platform()); }},
    {Control::Command4, premiumClick},
    {Control::Command5, [](Form& f) { command5Click(f.worksheet()); }},
    {Control::save,     [](Form& f) { saveClick(f.worksheet(), f.platform()); }},
    {Control::Load,     [](Form& f) { loadClick(f.worksheet(), f.platform()); }},
    {Control::Print,    [](Form& f) { printClick(f.worksheet(), f.platform()); }},
};
// clang-format on

}  // namespace

// fileRates_ is declared before rates_, so it is whole when rates_ is bound
// to it (delegating to the other constructor would bind it before).
Form::Form(Platform& platform) : platform_(platform), rates_(fileRates_) { worksheet_.setEventHandler(this); }

Form::Form(Platform& platform, RateSource& rates) : platform_(platform), rates_(rates) {
    worksheet_.setEventHandler(this);
}

void Form::click(Control button) {
    for (const Route& route : kRoutes)
        if (route.button == button) return route.handler(*this);
}

void Form::checkBoxClicked(Control array, int /*index*/) { commodityBoxClick(worksheet_, array); }

void Form::optionSelected(Control array, int /*index*/) {
    if (array == Control::St) stateClick(worksheet_);
}

}  // namespace kbt2
