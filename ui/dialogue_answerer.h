#pragma once
// Answers the window's dialogues as a person at the screen would, for the
// scripting driver's window mode and the window tests: every message box and
// file dialogue the application shows is read by the owner's reply when it
// appears, and answered once the dialogue runs its own event loop.

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "worksheet/platform.h"

class QFileDialog;

namespace kbt2::ui {

class DialogueAnswerer : public QObject {
public:
    // The button to press; OK when the box has no such button.
    using MessageReply = std::function<QMessageBox::StandardButton(const QMessageBox& box)>;
    // The path to fill in, or nothing to cancel the dialogue.
    using FileReply = std::function<std::optional<QString>(const QFileDialog& dialog)>;

    // Watches the whole application while it lives. A reply left empty leaves
    // that kind of dialogue alone.
    explicit DialogueAnswerer(MessageReply messageReply, FileReply fileReply = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void pressAnswer();
    void fillInFile();

    MessageReply messageReply_;
    FileReply fileReply_;
    QPointer<QMessageBox> box_;
    QMessageBox::StandardButton press_ = QMessageBox::Ok;
    QPointer<QFileDialog> fileDialog_;
    std::optional<QString> path_;
};

// The message a box shows, read back into the terms a command asks in.
Message shownMessage(const QMessageBox& box);

}  // namespace kbt2::ui
