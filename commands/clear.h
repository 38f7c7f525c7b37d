#pragma once

#include "worksheet/worksheet.h"

namespace kbt2 {

// Clear: empties the worksheet for a new case. Keeps statename, countyname,
// the SSN/EIN and IRSCash/IRSAcc choices, and the visibility of every field.
void clearClick(Worksheet& ws);

}  // namespace kbt2
