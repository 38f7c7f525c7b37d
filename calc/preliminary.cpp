#include "calc/preliminary.h"

namespace kbt2 {

// Not built yet.
void command2Click(Worksheet&, Platform&) {}

}  // namespace kbt2
