#include "ui/status_notes.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <algorithm>

namespace kbt2::ui {

QString oneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    line.replace(QChar(13), QChar(' '));
    return line;
}

void NoteLabel::setNote(const QString& text, const QString& shrinkable) {
    note_ = text;
    shrinkable_ = shrinkable;
    setToolTip(text);
    fit();
}

void NoteLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void NoteLabel::fit() {
    const QFontMetrics metrics(font());
    const int room = contentsRect().width();
    QString shown = note_;
    const qsizetype at = shrinkable_.isEmpty() ? -1 : note_.indexOf(shrinkable_);
    if (at >= 0 && metrics.horizontalAdvance(shown) > room) {
        const QString before = note_.left(at);
        const QString after = note_.mid(at + shrinkable_.size());
        const int rest = metrics.horizontalAdvance(before + after);
        shown = before + metrics.elidedText(shrinkable_, Qt::ElideMiddle, std::max(0, room - rest)) + after;
    }
    setText(metrics.elidedText(shown, Qt::ElideRight, room));
}

StatusNotes::StatusNotes(QStatusBar* bar)
    : note_(new NoteLabel(bar)), warning_(new QLabel(bar)), document_(new QLabel(bar)), announcer_(new Announcer(bar)) {
    // A label of its own, not the bar's passing message: a menu's status
    // tips would wipe that. A long note is shortened rather than widening
    // the window.
    note_->setObjectName(QStringLiteral("statusNote"));
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    note_->setTextFormat(Qt::PlainText);
    bar->addWidget(note_, 1);
    warning_->setObjectName(QStringLiteral("statusWarning"));
    warning_->setTextFormat(Qt::PlainText);
    QFont bold = warning_->font();
    bold.setBold(true);
    warning_->setFont(bold);
    bar->addWidget(warning_);
    warning_->hide();
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

void StatusNotes::note(const QString& text, const QString& shrinkable) {
    note_->setNote(text, shrinkable);
    announcer_->announce(text);
}

void StatusNotes::warn(const QString& shortText, const QString& text) {
    // Short in the bar, beside the note it qualifies; whole in the tool tip.
    warning_->setText(shortText);
    warning_->setToolTip(text);
    warning_->setVisible(!shortText.isEmpty());
    announcer_->announce(text);
}

}  // namespace kbt2::ui
