#include "app/driver/model_target.h"

#include "calc/display_format.h"

namespace kbt2::driver {

MessageAnswer ScriptedPlatform::showMessage(const Message& message) {
    session_.reportMessage(message);
    return session_.takeAnswer();
}

std::optional<std::string> ScriptedPlatform::chooseFile(FileDialogMode mode, const std::string& filter) {
    session_.reportDialog(mode, filter);
    return session_.takeFile();
}

PrintResult ScriptedPlatform::print(const PrintDocument& document) {
    session_.reportPrint(document);
    return {};
}

PrintResult ScriptedPlatform::printToPdf(const PrintDocument& document, const std::string&) {
    session_.reportPrint(document);
    return {};
}

bool ModelTarget::value(FieldRef box) {
    const Worksheet& ws = form_.worksheet();
    return info(box.control).kind == Kind::Check ? ws.checked(box) : ws.selected(box);
}

std::string ModelTarget::display(FieldRef masked) {
    return displayText(info(masked.control).format, form_.worksheet().text(masked));
}

}  // namespace kbt2::driver
