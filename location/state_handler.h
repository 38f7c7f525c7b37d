#pragma once

#include "worksheet/worksheet.h"

namespace kbt2 {

void stateClick(Worksheet& ws);

}  // namespace kbt2
