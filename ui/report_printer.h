#pragma once
// Prints a composed report on a real printer (or into a PDF).

#include <QPrinter>
#include <optional>

#include "worksheet/platform.h"

namespace kbt2::ui {

// Lays the document out line by line in the printer's current font: a column
// move goes to n - 1 average character widths from the left margin, or to
// that place on the next line when the position is already past it. A new
// page begins when the page is full. Nothing else is set: font, margins and
// paper are the printer's.
PrintResult printDocument(const PrintDocument& document, QPrinter& printer);

// The print dialogue (printer, copies, pages) for the report, titled
// `jobTitle`; prints when the user accepts it, nothing when cancelled.
std::optional<PrintResult> printWithDialog(const PrintDocument& document, const QString& jobTitle, QWidget* parent);

}  // namespace kbt2::ui
