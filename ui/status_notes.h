#pragma once
// The status bar: the worksheet's file name with a mark while it has changes
// that are not saved, and notes the user should see without being stopped
// by a dialogue (a recent file gone, the rate file that priced the quote).

#include <QLabel>
#include <QStatusBar>
#include <string>

namespace kbt2::ui {

// A message of the core (lines broken by character 13) on one line.
QString oneLine(const std::string& text);

class StatusNotes {
public:
    explicit StatusNotes(QStatusBar* bar);

    // An empty path is a worksheet never loaded or saved.
    void showDocument(const QString& path, bool modified);
    // Stays until the next note.
    void note(const QString& text);
    QString currentNote() const { return note_->text(); }

private:
    QLabel* note_;
    QLabel* document_;
};

}  // namespace kbt2::ui
