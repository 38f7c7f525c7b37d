#pragma once

#include <string>
#include <vector>

namespace kbt2 {

// Where the program looks for Ratefile.prn, in order: the user's and the
// system's data folders (dataRateFileFolders), so an agency installs its real
// table there once, without root and without overwriting the package's
// sample; then the program's data folder; then the root folder.
std::vector<std::string> defaultRateFileFolders();

// The kbt2 folder of each of the desktop's data folders, the user's first:
// XDG_DATA_HOME (else ~/.local/share), then each of XDG_DATA_DIRS (else
// /usr/local/share and /usr/share). A relative path in either is passed
// over, as desktops do.
std::vector<std::string> dataRateFileFolders();

// share/kbt2 beside the bin folder of the running program, in the build tree
// as when installed; empty when the program cannot be found.
std::string programDataFolder();

}  // namespace kbt2
