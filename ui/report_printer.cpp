#include "ui/report_printer.h"

namespace kbt2::ui {

// Not built yet.
PrintResult printDocument(const PrintDocument&, QPrinter&) { return {PrintResult::Status::Failed, "not built"}; }

}  // namespace kbt2::ui
