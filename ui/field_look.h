#pragma once
// How a field looks and takes the keyboard beyond what its kind gives it:
// numbers stand right-aligned, as in a ledger; the fields that only the
// program fills are tinted, as a spreadsheet shows computed cells, and Tab
// passes them by. They stay editable with the mouse, because the commands
// read them back, and screen readers still reach them by their names.

#include <QLineEdit>

#include "worksheet/controls.h"

namespace kbt2::ui {

// Whether the commands alone fill the field (a person may still edit it).
bool isResultField(Control control);
// Whether the field holds a number.
bool isNumberField(Control control);

// Gives a newly created field widget its look and its place in Tab order.
void applyFieldLook(FieldRef field, QWidget* widget);

// Makes a line edit at least wide enough for `chars` average characters.
void setWidthInChars(QLineEdit* edit, int chars);

}  // namespace kbt2::ui
