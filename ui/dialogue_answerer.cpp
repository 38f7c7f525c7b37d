#include "ui/dialogue_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>

#include "ui/dialog_texts.h"

namespace kbt2::ui {
namespace {
const QEvent::Type kAnswerMessage = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kAnswerFile = static_cast<QEvent::Type>(QEvent::registerEventType());
}  // namespace

DialogueAnswerer::DialogueAnswerer(MessageReply messageReply, FileReply fileReply)
    : messageReply_(std::move(messageReply)), fileReply_(std::move(fileReply)) {
    qApp->installEventFilter(this);
}

bool DialogueAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched); box && messageReply_) {
            box_ = box;
            press_ = messageReply_(*box);
            QCoreApplication::postEvent(this, new QEvent(kAnswerMessage));
        } else if (auto* dialog = qobject_cast<QFileDialog*>(watched); dialog && fileReply_) {
            fileDialog_ = dialog;
            path_ = fileReply_(*dialog);
            QCoreApplication::postEvent(this, new QEvent(kAnswerFile));
        }
    }
    return QObject::eventFilter(watched, event);
}

void DialogueAnswerer::customEvent(QEvent* event) {
    if (event->type() == kAnswerMessage) pressAnswer();
    if (event->type() == kAnswerFile) fillInFile();
}

void DialogueAnswerer::pressAnswer() {
    if (!box_) return;
    QAbstractButton* button = box_->button(press_);
    if (!button) button = box_->button(QMessageBox::Ok);
    if (button)
        button->click();
    else
        box_->reject();
}

void DialogueAnswerer::fillInFile() {
    if (!fileDialog_) return;
    // As the dialogue's own buttons do (QFileDialog keeps accept() and done()
    // protected; QDialog's are public and virtual).
    QDialog* dialog = fileDialog_;
    if (!path_) {
        dialog->reject();
        return;
    }
    fileDialog_->selectFile(*path_);
    dialog->accept();
    // A folder's name makes the dialogue open the folder instead of closing;
    // the reply chose it all the same.
    if (fileDialog_ && fileDialog_->isVisible()) dialog->done(QDialog::Accepted);
}

Message shownMessage(const QMessageBox& box) {
    Message shown;
    shown.title = box.windowTitle().toStdString();
    shown.text = messageFromDisplay(box.text());
    shown.buttons = box.button(QMessageBox::Cancel) ? MessageButtons::OKCancel : MessageButtons::OK;
    shown.icon = box.icon() == QMessageBox::Critical ? MessageIcon::Critical : MessageIcon::None;
    return shown;
}

}  // namespace kbt2::ui
