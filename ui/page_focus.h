#pragma once
// Where the keyboard goes when a page comes to the front: its first field in
// Tab order, so that typing starts at once and Tab never begins at the
// buttons below the pages (where one Space on Clear would empty the whole
// worksheet).

#include <QWidget>

namespace kbt2::ui {

// The first widget of the page in the window's Tab order that takes Tab and
// is not hidden; nullptr when the page has none.
QWidget* firstTabStop(QWidget* page);

// Gives the keyboard focus to the page's first Tab stop, if it has one.
void focusFirstField(QWidget* page);

}  // namespace kbt2::ui
