#pragma once
// The commodity check boxes of Tabs 5 and 6 and Command5, which clears them.

#include "worksheet/worksheet.h"

namespace kbt2 {

// A click on a box of a commodity check-box array: one transfer pass over
// the group while its transfer box is checked.
void commodityBoxClick(Worksheet& ws, Control array);

// Command5: clears every checked box, transfer boxes last, then empties all rows.
void command5Click(Worksheet& ws);

}  // namespace kbt2
