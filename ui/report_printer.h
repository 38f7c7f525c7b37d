#pragma once
// Prints a composed report on a real printer (or into a PDF).

#include <QPrinter>

#include "worksheet/platform.h"

namespace kbt2::ui {

// Lays the document out line by line in the printer's current font: a column
// move goes to n - 1 average character widths, or to the next line when the
// position is already past it.
PrintResult printDocument(const PrintDocument& document, QPrinter& printer);

}  // namespace kbt2::ui
