#include "calc/premium.h"

namespace kbt2 {

// Not built yet.
void command4Click(Worksheet&, Platform&) {}

}  // namespace kbt2
