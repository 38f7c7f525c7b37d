#pragma once
// Ctrl+V (or Shift+Insert) in a field of the years or of the commodity
// report with a block of spreadsheet cells on the clipboard: the block goes
// to the form as one paste, from the focused field on, or is refused whole
// with words that name the cell that did not fit. A single cell pastes into
// the field as typing does.

#include <QObject>
#include <QString>
#include <functional>

#include "commands/form.h"

namespace kbt2::ui {

class PasteFilter : public QObject {
    Q_OBJECT
public:
    // `acted` gets what the form returned; `refused` the words of a refusal;
    // `caption` names a field.
    PasteFilter(Form& form, std::function<void(FieldRef, bool)> acted, std::function<void(const QString&)> refused,
                std::function<QString(FieldRef)> caption, QObject* parent);

    // Takes the pastes of `widget`, the widget of `field`.
    void watch(QWidget* widget, FieldRef field);

    // Pastes `text` at `field` as Ctrl+V there does; false when the text is
    // one cell, which the field takes as typing.
    bool pasteBlock(FieldRef field, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form& form_;
    std::function<void(FieldRef, bool)> acted_;
    std::function<void(const QString&)> refused_;
    std::function<QString(FieldRef)> caption_;
};

}  // namespace kbt2::ui
