#include "commands/form.h"

#include "calc/commodity_kbt.h"
#include "calc/preliminary.h"
#include "calc/premium.h"
#include "commands/clear.h"
#include "commodities/transfer.h"
#include "location/state_handler.h"
#include "storage/print_command.h"
#include "storage/worksheet_file.h"

namespace kbt2 {

Form::Form(Platform& platform) : platform_(platform) { worksheet_.setEventHandler(this); }

void Form::click(Control button) {
    switch (button) {
    case Control::Clear: clearClick(worksheet_); break;
    case Control::Command1: platform_.closeWindow(); break;
    case Control::Command2: command2Click(worksheet_, platform_); break;
    case Control::Command3: command3Click(worksheet_, platform_); break;
    case Control::Command4: command4Click(worksheet_, platform_); break;
    case Control::Command5: command5Click(worksheet_); break;
    case Control::save: saveClick(worksheet_, platform_); break;
    case Control::Load: loadClick(worksheet_, platform_); break;
    case Control::Print: printClick(worksheet_, platform_); break;
    default: break;
    }
}

void Form::checkBoxClicked(Control array, int /*index*/) { transferPass(worksheet_, array); }

void Form::optionSelected(Control array, int /*index*/) {
    if (array == Control::St) stateClick(worksheet_);
}

}  // namespace kbt2
