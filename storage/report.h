#pragma once
// The printed report: composed here as lines of items, so the real printer
// and the driver's stand-in print the same document.

#include <string>
#include <vector>

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// The whole worksheet as a report. Field values print exactly as the fields
// hold them; a field holding several lines prints each on a line of its own,
// starting in the column where the field began.
PrintDocument composeReport(const Worksheet& ws);

// The document as plain text lines, one character per column: a column move
// pads with blanks, or starts a new line when the position is already past it.
std::vector<std::string> renderPlainText(const PrintDocument& document);

}  // namespace kbt2
