#include "ui/field_widgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTextCursor>

#include "calc/display_format.h"

namespace kbt2::ui {
namespace {

constexpr int kFocusFramePixels = 2;

}  // namespace

MaskedLineEdit::MaskedLineEdit(DisplayFormat format, QWidget* parent) : QLineEdit(parent), format_(format) {
    // A drop would edit the formatted text of a field that is not being
    // edited; typing and pasting go through the focus and see the plain text.
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        plain_ = text;
        Q_EMIT plainTextEdited(text);
    });
}

void MaskedLineEdit::setPlainText(const QString& text) {
    plain_ = text;
    showCurrent();
}

void MaskedLineEdit::showCurrent() {
    const QString shown = editing_ ? plain_ : QString::fromStdString(kbt2::displayText(format_, plain_.toStdString()));
    if (text() == shown) return;
    // Swapping between the plain and the formatted text is no edit.
    const QSignalBlocker blocker(this);
    setText(shown);
}

void MaskedLineEdit::focusInEvent(QFocusEvent* event) {
    // The plain text must be in place before the line edit places the cursor
    // or selects all.
    editing_ = true;
    showCurrent();
    QLineEdit::focusInEvent(event);
}

void MaskedLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The context menu takes the focus for a moment; its Paste must still act
    // on the plain text.
    if (event->reason() == Qt::PopupFocusReason) return;
    editing_ = false;
    showCurrent();
}

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // Tab goes on to the next field, as from every other field.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChanged, this, &MultiLineEdit::documentEdited);
}

void MultiLineEdit::documentEdited() {
    if (updating_) return;
    text_ = toPlainText();
    Q_EMIT fieldTextEdited(text_);
}

void MultiLineEdit::setFieldText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    updating_ = true;
    setPlainText(text);
    updating_ = false;
}

void MultiLineEdit::enterText(const QString& text) {
    updating_ = true;
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    updating_ = false;
    text_ = text;
    Q_EMIT fieldTextEdited(text_);
}

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this] { settleTabStop(); });
}

void OptionButton::setRing(int ring) {
    ring_ = ring;
    settleTabStop();
}

void OptionButton::nextCheckState() {
    if (!isChecked()) setChecked(true);
}

QList<OptionButton*> OptionButton::ringMembers() const {
    QList<OptionButton*> members;
    if (!parentWidget()) return members;
    // Children are listed in the order they were made, which is the Tab order.
    for (auto* option : parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly))
        if (option->ring_ == ring_ && !option->isHidden()) members << option;
    return members;
}

void OptionButton::settleTabStop() const {
    if (ring_ < 0) return;
    const QList<OptionButton*> members = ringMembers();
    const OptionButton* stop = members.isEmpty() ? nullptr : members.constFirst();
    for (const OptionButton* option : members)
        if (option->isChecked()) stop = option;
    if (!parentWidget()) return;
    for (auto* option : parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)) {
        if (option->ring_ != ring_) continue;
        const Qt::FocusPolicy policy = option == stop ? Qt::StrongFocus : Qt::ClickFocus;
        if (option->focusPolicy() != policy) option->setFocusPolicy(policy);
    }
}

void OptionButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    if (ring_ < 0 || (!back && !forward) || event->modifiers() != Qt::NoModifier) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    const QList<OptionButton*> members = ringMembers();
    const qsizetype at = members.indexOf(this);
    if (at < 0 || members.size() < 2) return;
    // Round the ring, as desktop option groups do.
    OptionButton* next = members[(at + (back ? members.size() - 1 : 1)) % members.size()];
    next->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    next->click();
}

bool OptionButton::event(QEvent* event) {
    const bool handled = QRadioButton::event(event);
    // A state shown or hidden changes which of its ring may take the Tab stop.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) settleTabStop();
    return handled;
}

FramedCheckBox::FramedCheckBox(QWidget* parent) : QCheckBox(parent) {}

void FramedCheckBox::paintEvent(QPaintEvent* event) {
    QCheckBox::paintEvent(event);
    if (!hasFocus() || !text().isEmpty()) return;
    // The style's own focus cue on a box without text is a faint tint of its
    // border, or nothing until the keyboard has moved the focus: a frame in
    // the highlight colour shows it however the box got the focus.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusFramePixels));
    const int inset = kFocusFramePixels / 2;
    painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}

BuddyCaption::BuddyCaption(const QString& caption, QAbstractButton* box, QWidget* parent)
    : QLabel(caption, parent), box_(box) {
    setTextFormat(Qt::PlainText);
}

void BuddyCaption::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !box_->isHidden())
        box_->click();
}

}  // namespace kbt2::ui
