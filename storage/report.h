#pragma once
// The printed report: composed here as lines of items, so the real printer
// and the driver's stand-in print the same document.

#include <string>
#include <vector>

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

PrintDocument composeReport(const Worksheet& ws);

// The document as plain text lines, one character per column: a column move
// pads with blanks, or starts a new line when the position is already past it.
std::vector<std::string> renderPlainText(const PrintDocument& document);

}  // namespace kbt2
