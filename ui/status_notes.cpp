#include "ui/status_notes.h"

#include <QFileInfo>

namespace kbt2::ui {

QString oneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    line.replace(QChar(13), QChar(' '));
    return line;
}

StatusNotes::StatusNotes(QStatusBar* bar) : bar_(bar), document_(new QLabel(bar)) {
    document_->setObjectName(QStringLiteral("documentName"));
    bar_->addPermanentWidget(document_);
    showDocument({}, false);
}

void StatusNotes::showDocument(const QString& path, bool modified) {
    const QString name = path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName();
    // The mark comes first, where a glance finds it whatever the name's length.
    document_->setText(modified ? QStringLiteral("* ") + name : name);
    document_->setToolTip(path.isEmpty() ? QStringLiteral("Not saved yet") : path);
}

void StatusNotes::note(const QString& text) { bar_->showMessage(text); }

}  // namespace kbt2::ui
