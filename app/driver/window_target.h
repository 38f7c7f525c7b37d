#pragma once
// The driver's --window mode: the same script against the real main window.

#include <functional>
#include <istream>
#include <ostream>

namespace kbt2::ui {
class MainWindow;
}

namespace kbt2::driver {

// Creates the application and the window (offscreen without a display), runs
// the script through the widgets and returns the exit status. `afterScript`,
// when given, gets the window once the script has run and it is still open.
int runInWindow(int argc, char** argv, std::istream& script, std::ostream& out, std::ostream& errors,
                const std::function<void(ui::MainWindow&)>& afterScript = {});

}  // namespace kbt2::driver
