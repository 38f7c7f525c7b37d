#pragma once
// What the desktop's accessibility interface (a screen reader) is told that
// the widgets do not say of themselves: the option buttons are radio buttons
// of a named group, the page strip is a row of page tabs, the figures the
// commands fill can be reached while a screen reader listens, and what a
// calculation or an undo changed is spoken.

#include <QLabel>
#include <QString>

namespace kbt2::ui {

// Installs the interfaces of the window's own widgets. Once per program,
// before the first window; calling it again does nothing.
void installAccessibleInterfaces();

// The Tab walk of the figures the commands fill: off it for a typist, on it
// while an assistive technology is active, so that every figure can be read
// with its row and level.
Qt::FocusPolicy figureFocusPolicy();
// Marks `widget` as such a figure, and follows the technology's coming and
// going for it.
void reachWhileListened(QWidget* widget);

// A line spoken by a screen reader without taking the focus: an alert,
// shown for a moment, as the desktop's own notifications are.
class Announcer : public QLabel {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent = nullptr);
    void announce(const QString& text);
    QString lastAnnounced() const { return last_; }

private:
    QString last_;
};

}  // namespace kbt2::ui
