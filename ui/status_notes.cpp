#include "ui/status_notes.h"

#include <QFileInfo>

namespace kbt2::ui {

QString oneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    line.replace(QChar(13), QChar(' '));
    return line;
}

StatusNotes::StatusNotes(QStatusBar* bar) : note_(new QLabel(bar)), document_(new QLabel(bar)) {
    // A label of its own, not the bar's passing message: a menu's status
    // tips would wipe that. A long note is cut at the window's edge rather
    // than widening the window; its tool tip holds it whole.
    note_->setObjectName(QStringLiteral("statusNote"));
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    note_->setTextFormat(Qt::PlainText);
    bar->addWidget(note_, 1);
    document_->setObjectName(QStringLiteral("documentName"));
    bar->addPermanentWidget(document_);
    showDocument({}, false);
}

void StatusNotes::showDocument(const QString& path, bool modified) {
    const QString name = path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName();
    // The mark comes first, where a glance finds it whatever the name's length.
    document_->setText(modified ? QStringLiteral("* ") + name : name);
    document_->setToolTip(path.isEmpty() ? QStringLiteral("Not saved yet") : path);
}

void StatusNotes::note(const QString& text) {
    note_->setText(text);
    note_->setToolTip(text);
}

}  // namespace kbt2::ui
