#pragma once

#include "worksheet/worksheet.h"

namespace kbt2 {

// The click handler of a commodity check-box array: while the group's transfer
// box is checked, one transfer pass over the whole group.
void transferPass(Worksheet& ws, Control array);

// Command5: clears every checked box, transfer boxes last, then empties all rows.
void command5Click(Worksheet& ws);

}  // namespace kbt2
