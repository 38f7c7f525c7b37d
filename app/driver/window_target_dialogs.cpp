#include "app/driver/window_target_dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/dialog_texts.h"

namespace kbt2::driver {

std::optional<std::string> DialogAnswerer::takeTypedPath() {
    auto typed = std::move(typed_);
    typed_.reset();
    return typed;
}

namespace {
const QEvent::Type kAnswerMessage = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kAnswerFile = static_cast<QEvent::Type>(QEvent::registerEventType());
}  // namespace

bool DialogAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            readMessage(box);
        else if (auto* dialog = qobject_cast<QFileDialog*>(watched))
            readFileDialog(dialog);
    }
    return QObject::eventFilter(watched, event);
}

void DialogAnswerer::customEvent(QEvent* event) {
    if (event->type() == kAnswerMessage) pressAnswer();
    if (event->type() == kAnswerFile) fillInFile();
}

void DialogAnswerer::readMessage(QMessageBox* box) {
    Message shown;
    shown.title = box->windowTitle().toStdString();
    shown.text = ui::messageFromDisplay(box->text());
    shown.buttons = box->button(QMessageBox::Cancel) ? MessageButtons::OKCancel : MessageButtons::OK;
    shown.icon = box->icon() == QMessageBox::Critical ? MessageIcon::Critical : MessageIcon::None;
    session_.reportMessage(shown);
    box_ = box;
    answer_ = session_.takeAnswer();
    QCoreApplication::postEvent(this, new QEvent(kAnswerMessage));
}

void DialogAnswerer::pressAnswer() {
    if (!box_) return;
    QAbstractButton* button = nullptr;
    if (answer_ == MessageAnswer::Cancel) button = box_->button(QMessageBox::Cancel);
    if (!button) button = box_->button(QMessageBox::Ok);
    if (button)
        button->click();
    else
        box_->reject();
}

void DialogAnswerer::readFileDialog(QFileDialog* dialog) {
    const FileDialogMode mode =
        dialog->acceptMode() == QFileDialog::AcceptSave ? FileDialogMode::Save : FileDialogMode::Open;
    session_.reportDialog(mode, dialog->property(ui::kCommandFilterProperty).toString().toStdString());
    fileDialog_ = dialog;
    typed_ = session_.takeFile();
    QCoreApplication::postEvent(this, new QEvent(kAnswerFile));
}

void DialogAnswerer::fillInFile() {
    if (!fileDialog_) return;
    // As the dialogue's own buttons do (QFileDialog keeps accept() and done()
    // protected; QDialog's are public and virtual).
    QDialog* dialog = fileDialog_;
    if (!typed_) {
        dialog->reject();
        return;
    }
    fileDialog_->selectFile(QDir::current().absoluteFilePath(QString::fromStdString(*typed_)));
    dialog->accept();
    // A folder's name makes the dialogue open the folder instead of closing;
    // the script chose it all the same, and the model mode passes it on.
    if (fileDialog_ && fileDialog_->isVisible()) dialog->done(QDialog::Accepted);
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
