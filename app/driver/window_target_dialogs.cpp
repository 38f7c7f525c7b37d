#include "app/driver/window_target_dialogs.h"

#include <QDir>
#include <QFileDialog>

#include "ui/dialog_texts.h"

namespace kbt2::driver {

DialogueAnswerer::DialogueAnswerer(Session& session)
    : session_(session),
      answerer_([this](const QMessageBox& box) { return readMessage(box); },
                [this](const QFileDialog& dialog) { return readFileDialog(dialog); }) {}

std::optional<std::string> DialogueAnswerer::takeTypedPath() {
    auto typed = std::move(typed_);
    typed_.reset();
    return typed;
}

QMessageBox::StandardButton DialogueAnswerer::readMessage(const QMessageBox& box) {
    session_.reportMessage(ui::shownMessage(box));
    return session_.takeAnswer() == MessageAnswer::Cancel ? QMessageBox::Cancel : QMessageBox::Ok;
}

std::optional<QString> DialogueAnswerer::readFileDialog(const QFileDialog& dialog) {
    const FileDialogMode mode =
        dialog.acceptMode() == QFileDialog::AcceptSave ? FileDialogMode::Save : FileDialogMode::Open;
    session_.reportDialog(mode, dialog.property(ui::kCommandFilterProperty).toString().toStdString());
    typed_ = session_.takeFile();
    if (!typed_) return std::nullopt;
    return QDir::current().absoluteFilePath(QString::fromStdString(*typed_));
}

std::optional<std::string> DriverPlatform::chooseFile(FileDialogMode mode, const std::string& filter) {
    std::optional<std::string> chosen = QtPlatform::chooseFile(mode, filter);
    std::optional<std::string> typed = answerer_.takeTypedPath();
    // The dialogue was filled in and accepted; the command gets the name
    // exactly as the script wrote it, as in the model mode. Qt's dialogue
    // reads some names its own way ("~" as the home folder, "//" as the root,
    // a folder's name as a folder to open), which no script means.
    if (chosen && typed) return typed;
    return chosen;
}

PrintResult DriverPlatform::print(const PrintDocument& document) {
    session_.reportPrint(document);
    return {};
}

PrintResult DriverPlatform::printToPdf(const PrintDocument& document, const std::string&) {
    session_.reportPrint(document);
    return {};
}

}  // namespace kbt2::driver
