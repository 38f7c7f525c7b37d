#include "commands/form.h"
#include "commands/print.h"
#include "commands/save_load.h"
#include "storage/report.h"

namespace kbt2 {

bool Form::saveTo(const std::string& path) { return saveWorksheetTo(worksheet_, platform_, path); }

bool Form::loadFrom(const std::string& path) { return loadWorksheetFrom(worksheet_, platform_, path); }

void Form::exportPdf() { exportReportPdf(worksheet_, platform_); }

PrintDocument Form::report() const { return composeReport(worksheet_); }

std::optional<std::string> Form::writeCopy(const std::string& path) const {
    return writeWorksheetFile(worksheet_, path);
}

std::optional<std::string> Form::readCopy(const std::string& path) { return readWorksheetFile(worksheet_, path); }

}  // namespace kbt2
