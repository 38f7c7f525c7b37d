#include "worksheet/clear.h"

namespace kbt2 {

// Not built yet.
void clearClick(Worksheet&) {}

}  // namespace kbt2
