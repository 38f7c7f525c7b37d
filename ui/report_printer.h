#pragma once
// Prints a composed report on a real printer (or into a PDF).

#include <QPrinter>
#include <QString>

#include "worksheet/platform.h"

namespace kbt2::ui {

// Lays the document out line by line in the printer's current font: a column
// move goes to n - 1 average character widths from the left margin, or to
// that place on the next line when the position is already past it. A new
// page begins when the page is full. Nothing else is set: font, margins and
// paper are the printer's.
PrintResult printDocument(const PrintDocument& document, QPrinter& printer);

// The system's default printer; NoPrinter when there is none.
PrintResult printOnDefaultPrinter(const PrintDocument& document);

// A PDF document at `path` (replaced if it exists), laid out as on paper.
PrintResult printToPdfFile(const PrintDocument& document, const QString& path);

}  // namespace kbt2::ui
