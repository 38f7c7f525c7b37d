#pragma once

#include <string>
#include <vector>

namespace kbt2 {

// Where the program looks for Ratefile.prn, in order: its data folder
// (share/kbt2 beside the bin folder of the running program, in the build tree
// as when installed), then the root folder.
std::vector<std::string> defaultRateFileFolders();

}  // namespace kbt2
