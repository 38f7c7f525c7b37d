#include "app/driver/window_target.h"

namespace kbt2::driver {

// Not built yet.
int runInWindow(int, char**, std::istream&, std::ostream&, std::ostream& errors) {
    errors << "--window is not available yet\n";
    return 1;
}

}  // namespace kbt2::driver
