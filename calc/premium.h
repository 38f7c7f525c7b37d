#pragma once

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Calculate Premium: looks up the county's rates of every commodity in the
// rate file and fills the page-9 premium table for the coverage levels 0.80,
// 0.75 and 0.65, with the allowable KBT, the commodity count, the two
// eligibility results and the levels offered.
void command4Click(Worksheet& ws, Platform& platform);

}  // namespace kbt2
