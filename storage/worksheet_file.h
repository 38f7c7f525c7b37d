#pragma once
// The Save and Load buttons: the worksheet file through the file dialogue.

#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

inline constexpr const char* kWorksheetFileFilter = "KBT Premium Calculation (*.wsk)|*.wsk";

// Writes the worksheet under exactly the chosen name (no extension added).
// Cancel is silent; a failed write tells the user why and leaves any
// existing file as it was.
void saveClick(const Worksheet& ws, Platform& platform);

// Reads a worksheet file into the worksheet without clearing it first. The
// file is checked whole before anything is set: a file that cannot be read,
// ends early or holds a bad index is refused with a message naming the line,
// and the worksheet stays as it was.
void loadClick(Worksheet& ws, Platform& platform);

}  // namespace kbt2
