#pragma once

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

void saveClick(const Worksheet& ws, Platform& platform);
void loadClick(Worksheet& ws, Platform& platform);

}  // namespace kbt2
