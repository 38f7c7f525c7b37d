#pragma once

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

void printClick(const Worksheet& ws, Platform& platform);

}  // namespace kbt2
