#include "app/driver/window_target_dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

#include "ui/dialog_texts.h"

namespace kbt2::driver {

std::optional<std::string> DialogAnswerer::takeTypedPath() {
    auto typed = std::move(typed_);
    typed_.reset();
    return typed;
}

bool DialogAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            answerMessage(box);
        else if (auto* dialog = qobject_cast<QFileDialog*>(watched))
            answerFile(dialog);
    }
    return QObject::eventFilter(watched, event);
}

void DialogAnswerer::answerMessage(QMessageBox* box) {
    Message shown;
    shown.title = box->windowTitle().toStdString();
    shown.text = ui::messageFromDisplay(box->text());
    shown.buttons = box->button(QMessageBox::Cancel) ? MessageButtons::OKCancel : MessageButtons::OK;
    shown.icon = box->icon() == QMessageBox::Critical ? MessageIcon::Critical : MessageIcon::None;
    session_.reportMessage(shown);
    const MessageAnswer answer = session_.takeAnswer();
    // Pressed once the box runs its own event loop.
    QMetaObject::invokeMethod(
        box,
        [box = QPointer<QMessageBox>(box), answer] {
            if (!box) return;
            QAbstractButton* button = nullptr;
            if (answer == MessageAnswer::Cancel) button = box->button(QMessageBox::Cancel);
            if (!button) button = box->button(QMessageBox::Ok);
            if (button)
                button->click();
            else
                box->reject();
        },
        Qt::QueuedConnection);
}

void DialogAnswerer::answerFile(QFileDialog* dialog) {
    const FileDialogMode mode =
        dialog->acceptMode() == QFileDialog::AcceptSave ? FileDialogMode::Save : FileDialogMode::Open;
    session_.reportDialog(mode, dialog->property(ui::kCommandFilterProperty).toString().toStdString());
    typed_ = session_.takeFile();
    QMetaObject::invokeMethod(
        dialog,
        [dialog = QPointer<QFileDialog>(dialog), path = typed_] {
            if (!dialog) return;
            if (!path) {
                dialog->reject();
                return;
            }
            dialog->selectFile(QDir::current().absoluteFilePath(QString::fromStdString(*path)));
            // As the dialogue's own button does (QFileDialog keeps accept()
            // protected; QDialog's is public and virtual).
            QDialog* asDialog = dialog;
            asDialog->accept();
            // A folder's name makes the dialogue open the folder instead of
            // closing; the script chose it all the same, as the model mode
            // passes it on.
            if (dialog && dialog->isVisible()) asDialog->done(QDialog::Accepted);
        },
        Qt::QueuedConnection);
}

std::optional<std::string> DriverPlatform::chooseFile(FileDialogMode mode, const std::string& filter) {
    const std::optional<std::string> chosen = QtPlatform::chooseFile(mode, filter);
    const std::optional<std::string> typed = answerer_.takeTypedPath();
    // The dialogue answers with the absolute path; the command gets the name
    // as the script wrote it, as in the model mode, when both name one file.
    if (chosen && typed) {
        const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromStdString(*typed)));
        if (absolute == QDir::cleanPath(QString::fromStdString(*chosen))) return typed;
    }
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
