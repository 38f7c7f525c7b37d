#pragma once
// The driver's --window mode: the same script against the real main window.

#include <istream>
#include <ostream>

namespace kbt2::driver {

// Creates the application and the window (offscreen without a display), runs
// the script through the widgets and returns the exit status.
int runInWindow(int argc, char** argv, std::istream& script, std::ostream& out, std::ostream& errors);

}  // namespace kbt2::driver
