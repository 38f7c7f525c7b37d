#pragma once

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Calculate Preliminary KBT and Adjustment Factor: checks the ten incomes and
// expenses of 1993 to 1997 and writes the totals, averages, adjustment factor
// and preliminary KBT, or shows one message and writes nothing.
void command2Click(Worksheet& ws, Platform& platform);

}  // namespace kbt2
