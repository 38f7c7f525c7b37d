#pragma once

#include "worksheet/worksheet.h"

namespace kbt2 {

void clearClick(Worksheet& ws);

}  // namespace kbt2
