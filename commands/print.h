#pragma once
// The Print button: the report on the default printer.

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// Prints the report; changes no field. Without any printer it offers to save
// the report as a PDF document instead; a failure tells the user why.
void printClick(const Worksheet& ws, Platform& platform);

// The report as a PDF document under a name the user chooses, laid out as
// the printer lays it out. Cancel is silent; a failure tells the user why.
void exportReportPdf(const Worksheet& ws, Platform& platform);

}  // namespace kbt2
