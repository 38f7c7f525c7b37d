#pragma once
// The widgets that stand for worksheet fields where a plain Qt widget does not
// behave as the field must.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "worksheet/controls.h"

namespace kbt2::ui {

// A masked number field: while it has the focus it shows and edits the plain
// text; without the focus it shows the text with its display format applied.
// The plain text is what the worksheet holds.
class MaskedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    MaskedLineEdit(DisplayFormat format, QWidget* parent = nullptr);

    QString plainText() const { return plain_; }
    // Takes a new plain text from the worksheet (no signal).
    void setPlainText(const QString& text);
    DisplayFormat format() const { return format_; }
    bool editing() const { return editing_; }

Q_SIGNALS:
    // The user changed the plain text.
    void plainTextEdited(const QString& text);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showCurrent();

    DisplayFormat format_;
    QString plain_;
    bool editing_ = false;
};

// The multi-line field. The worksheet keeps its text exactly as entered, a
// carriage return included; the document shows every kind of line break as a
// break, so the exact text is kept beside it and replaced only when the user
// edits the document.
class MultiLineEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineEdit(QWidget* parent = nullptr);

    QString fieldText() const { return text_; }
    // Takes a new text from the worksheet (no signal).
    void setFieldText(const QString& text);
    // Replaces the whole content as typing or pasting it would, keeping the
    // text exactly as given.
    void enterText(const QString& text);

Q_SIGNALS:
    void fieldTextEdited(const QString& text);

private:
    void documentEdited();

    QString text_;
    bool updating_ = false;
};

// An option button that only a selection of another option of its group
// clears: clicking a selected option leaves it selected. The worksheet keeps
// the group exclusive, so the button carries no exclusivity of its own.
//
// The options of one ring (the options of one group under one parent: the
// two tax numbers, the two accounting methods, the states, one state's
// counties) are one stop of the Tab walk, as on any desktop: Tab reaches the
// selected one (or the first shown when none is), and the arrow keys move
// within the ring and select, each selection the option's own click.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

    void setRing(int ring);
    int ring() const { return ring_; }

protected:
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The shown options of this ring in the Tab order of their parent.
    QList<OptionButton*> ringMembers() const;
    // Gives the Tab stop to the ring's selected option, or its first.
    void settleTabStop() const;

    int ring_ = -1;
};

// A check box whose focus shows as a frame around the box itself: the
// commodity boxes carry no text of their own, around which the style would
// draw the focus.
class FramedCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit FramedCheckBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The caption beside a commodity box: clicking it clicks the box, as a
// person expects of a caption.
class BuddyCaption : public QLabel {
    Q_OBJECT
public:
    BuddyCaption(const QString& caption, QAbstractButton* box, QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QAbstractButton* box_;
};

}  // namespace kbt2::ui
