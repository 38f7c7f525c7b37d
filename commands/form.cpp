#include "commands/form.h"

#include "calc/commodity_kbt.h"
#include "calc/preliminary.h"
#include "calc/premium.h"
#include "commands/clear.h"
#include "commands/exit.h"
#include "commodities/transfer.h"
#include "location/state_handler.h"
#include "storage/print_command.h"
#include "storage/worksheet_file.h"

namespace kbt2 {
namespace {

using ClickHandler = void (*)(Worksheet&, Platform&);

struct Route {
    Control button;
    ClickHandler handler;
};

// A button missing here does nothing when clicked.
// clang-format off
constexpr Route kRoutes[] = {
    {Control::Clear,    [](Worksheet& ws, Platform&) { clearClick(ws); }},
    {Control::Command1, [](Worksheet&, Platform& platform) { exitClick(platform); }},
    {Control::Command2, command2Click},
    {Control::Command3, command3Click},
    {Control::Command4, command4Click},
    {Control::Command5, [](Worksheet& ws, Platform&) { command5Click(ws); }},
    {Control::save,     [](Worksheet& ws, Platform& platform) { saveClick(ws, platform); }},
    {Control::Load,     loadClick},
    {Control::Print,    [](Worksheet& ws, Platform& platform) { printClick(ws, platform); }},
};
// clang-format on

}  // namespace

Form::Form(Platform& platform) : platform_(platform) { worksheet_.setEventHandler(this); }

void Form::click(Control button) {
    for (const Route& route : kRoutes)
        if (route.button == button) return route.handler(worksheet_, platform_);
}

void Form::checkBoxClicked(Control array, int /*index*/) { transferPass(worksheet_, array); }

void Form::optionSelected(Control array, int /*index*/) {
    if (array == Control::St) stateClick(worksheet_);
}

}  // namespace kbt2
