#pragma once
// The status bar: the worksheet's file name with a mark while it has changes
// that are not saved, and notes the user should see without being stopped
// by a dialogue (a recent file gone, the rate file that priced the quote).

#include <QLabel>
#include <QStatusBar>
#include <string>

#include "ui/accessibility.h"

namespace kbt2::ui {

// A message of the core (lines broken by character 13) on one line.
QString oneLine(const std::string& text);

// A note on one line in the width the bar gives it. When it does not fit,
// the part that may shrink (a path) loses its middle first, so what follows
// it (how many commodities found a rate) stays in view; what still does not
// fit is cut at the end. The tool tip holds the whole note.
class NoteLabel : public QLabel {
public:
    using QLabel::QLabel;
    void setNote(const QString& text, const QString& shrinkable);
    QString note() const { return note_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QString note_;
    QString shrinkable_;
};

class StatusNotes {
public:
    explicit StatusNotes(QStatusBar* bar);

    // An empty path is a worksheet never loaded or saved.
    void showDocument(const QString& path, bool modified);
    // Stays until the next note. `shrinkable` is the part of the text (a
    // path) shortened first when the note does not fit.
    void note(const QString& text, const QString& shrinkable = {});
    QString currentNote() const { return note_->note(); }
    // A warning of its own beside the note, kept until the next: the last
    // premium's figures are no quote, or priced from made-up rates. A few
    // words in the bar, the whole of it in the tool tip; empty hides it.
    void warn(const QString& shortText, const QString& text);
    QString currentWarning() const { return warning_->toolTip(); }

    // What the notes and warnings said last, as a screen reader heard it.
    Announcer& announcer() { return *announcer_; }

private:
    NoteLabel* note_;
    QLabel* warning_;
    QLabel* document_;
    Announcer* announcer_;
};

}  // namespace kbt2::ui
