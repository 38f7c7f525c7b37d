#include "commands/print.h"

#include "commands/messages.h"
#include "storage/report.h"

namespace kbt2 {
namespace {

void saveReportAsPdf(const PrintDocument& report, Platform& platform) {
    const auto path = platform.chooseFile(FileDialogMode::Save, kPdfFilter);
    if (!path) return;
    const PrintResult saved = platform.printToPdf(report, *path);
    if (saved.status != PrintResult::Status::Printed) tell(platform, messages::reportNotSaved(*path, saved.error));
}

}  // namespace

void printClick(const Worksheet& ws, Platform& platform) {
    const PrintDocument report = composeReport(ws);
    const PrintResult printed = platform.print(report);
    switch (printed.status) {
    case PrintResult::Status::Printed: return;
    case PrintResult::Status::Failed: tell(platform, messages::reportNotPrinted(printed.error)); return;
    case PrintResult::Status::NoPrinter: break;
    }

    if (platform.showMessage(messages::noPrinterOffer()) == MessageAnswer::OK) saveReportAsPdf(report, platform);
}

void exportReportPdf(const Worksheet& ws, Platform& platform) { saveReportAsPdf(composeReport(ws), platform); }

}  // namespace kbt2
