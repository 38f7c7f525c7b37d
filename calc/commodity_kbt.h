#pragma once

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Rows 0 to n-1 of the commodity report are in use: n is 14 when row 13 is
// named, else the first unnamed row from 1 up. A gap ends the report.
int reportLength(const Worksheet& ws);

void command3Click(Worksheet& ws, Platform& platform);

}  // namespace kbt2
