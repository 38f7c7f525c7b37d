#pragma once

#include "worksheet/worksheet.h"

namespace kbt2 {

// St_Click: shows every commodity box that a state may hide, then hides the
// ones the selected state does not offer. Visibility only: check values and
// report rows stay as they are.
void stateClick(Worksheet& ws);

}  // namespace kbt2
