// kbt2-quote: the premium of many saved worksheets from the command line.

#include <unistd.h>

#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "app/quote/quote_batch.h"
#include "app/quote/quote_options.h"
#include "paint/quote_summary_pdf.h"
#include "storage/file_io.h"

#ifndef KBT2_VERSION
#define KBT2_VERSION "unknown"
#endif

namespace {

// --summaries: a quoted worksheet's PDF, drawn in memory.
kbt2::quote::DrawnSummary drawSummary(const kbt2::QuoteSummary& summary) {
    kbt2::quote::DrawnSummary drawn;
    auto pdf = kbt2::paint::quoteSummaryPdf(summary);
    if (!pdf.ok()) {
        drawn.failed = std::move(pdf).failure();
    } else if (!kbt2::paint::isWholePdf(pdf.value())) {
        drawn.failed = kbt2::FileFailure{"The PDF could not be written in full."};
        drawn.cutShort = true;
    } else {
        drawn.pdf = pdf.value().toStdString();
    }
    return drawn;
}

int quote(int argc, char** argv) {
    using namespace kbt2::quote;
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = parseQuoteArguments(arguments);
    if (!parsed.ok()) {
        std::cerr << "kbt2-quote: " << parsed.failure().reason << '\n' << kUsage << '\n';
        return kUsageError;
    }
    if (const auto* info = std::get_if<InfoRequest>(&parsed.value())) {
        std::cout << (*info == InfoRequest::Help ? helpText() : std::string("kbt2-quote ") + KBT2_VERSION + "\n");
        return std::cout.flush() ? kAllQuoted : kUsageError;
    }
    const auto& options = std::get<QuoteOptions>(parsed.value());
    // The PDFs need Qt's painting, and only they: no display is needed, so
    // Qt runs on its offscreen platform, and only when summaries are asked for.
    // Qt keeps a reference to its argument count for the application's life.
    int qtArgc = 1;
    std::unique_ptr<QGuiApplication> painting;
    if (options.summariesDir) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        painting = std::make_unique<QGuiApplication>(qtArgc, argv);
    }
    return runQuoteBatch(options, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1,
                         options.summariesDir ? kbt2::quote::SummaryDrawer(drawSummary) : nullptr);
}

}  // namespace

// Nothing the batch throws is expected; should memory run out all the same,
// the tool says so and ends with the status of a failure it could not get past.
int main(int argc, char** argv) {
    kbt2::reportFileSizeLimitAsError();
    try {
        return quote(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "kbt2-quote: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "kbt2-quote: an unexpected error\n";
    }
    return kbt2::quote::kUsageError;
}
