#include "storage/print_command.h"

namespace kbt2 {

// Not built yet.
void printClick(const Worksheet&, Platform&) {}

}  // namespace kbt2
