#include "commodities/transfer.h"

namespace kbt2 {

// Not built yet.
void transferPass(Worksheet&, Control) {}
void command5Click(Worksheet&) {}

}  // namespace kbt2
