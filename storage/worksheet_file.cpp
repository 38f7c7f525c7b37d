#include "storage/worksheet_file.h"

namespace kbt2 {

// Not built yet.
void saveClick(const Worksheet&, Platform&) {}
void loadClick(Worksheet&, Platform&) {}

}  // namespace kbt2
