#pragma once

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Rows 0 to n-1 of the commodity report are in use: n is 14 when row 13 is
// named, else the first unnamed row from 1 up. A gap ends the report; row 0
// counts whether named or not. The premium calls n its commodity count.
int reportLength(const Worksheet& ws);

// Calculate KBT for each Commodity and Total Expected KBT: writes every named
// row's KBT (total amount times expected value, rounded), then checks the
// used rows and writes their sum into Text15(1).
void command3Click(Worksheet& ws, Platform& platform);

}  // namespace kbt2
