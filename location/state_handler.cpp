#include "location/state_handler.h"

namespace kbt2 {

// Not built yet.
void stateClick(Worksheet&) {}

}  // namespace kbt2
