#include "app/quote/quote_batch.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/quote/quote_details.h"
#include "app/quote/quote_format.h"
#include "app/quote/quote_progress.h"
#include "app/quote/quote_worksheet.h"
#include "app/quote/worksheet_list.h"
#include "rates/rate_table.h"
#include "storage/file_io.h"

namespace kbt2::quote {
namespace {

// Where the lines go: standard output as each worksheet finishes, or a file
// that takes its name only when the run is complete.
class Output {
public:
    virtual ~Output() = default;
    virtual FileResult write(const std::string& lines) = 0;
    virtual FileResult finish() = 0;
};

class StreamOutput final : public Output {
public:
    explicit StreamOutput(std::ostream& out) : out_(out) {}
    FileResult write(const std::string& lines) override {
        out_.write(lines.data(), static_cast<std::streamsize>(lines.size()));
        out_.flush();
        return out_ ? FileResult{} : FileResult{false, "The output could not be written."};
    }
    FileResult finish() override { return {}; }

private:
    std::ostream& out_;
};

class FileOutput final : public Output {
public:
    explicit FileOutput(const std::string& path) : file_(path) {}
    FileResult open() { return file_.open(); }
    // Gathered into large writes: a batch writes many short lines.
    FileResult write(const std::string& lines) override {
        pending_ += lines;
        return pending_.size() < (size_t{1} << 16) ? FileResult{} : flush();
    }
    FileResult finish() override {
        if (FileResult flushed = flush(); !flushed.ok) return flushed;
        return file_.commit();
    }

private:
    FileResult flush() {
        FileResult written = file_.write(pending_);
        pending_.clear();
        return written;
    }
    AtomicFileWriter file_;
    std::string pending_;
};

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

int runQuoteBatch(const QuoteOptions& options, std::ostream& out, std::ostream& errors, bool progress,
                  const SummaryWriter& writeSummary) {
    std::unique_ptr<Output> output;
    if (options.outputPath) {
        auto file = std::make_unique<FileOutput>(*options.outputPath);
        if (const FileResult opened = file->open(); !opened.ok) {
            errors << "kbt2-quote: " << oneLine(*options.outputPath) << ": " << opened.reason << '\n' << kUsage << '\n';
            return kUsageError;
        }
        output = std::move(file);
    } else {
        output = std::make_unique<StreamOutput>(out);
    }

    // First pass: what every worksheet will ask of the rate file. Only the
    // keys are kept, never the worksheets.
    const WorksheetList worksheets(options.inputs);
    Progress bar(errors, progress, worksheets.size());
    RateTable table;
    size_t done = 0;
    worksheets.forEach([&](const QuoteItem& item) {
        bar.show("reading worksheets", done++);
        if (item.problem) return;
        if (const auto keys = rateKeysOf(item.path)) table.want(keys->stateCode, keys->countyCode, keys->codes);
    });

    // The rate file, read once for all.
    // A named file is taken as the window takes one of its places: only an
    // ordinary file counts, so a pipe or a device cannot stall the batch.
    const std::optional<std::string> ratePath =
        options.ratesPath ? namedRateFile(*options.ratesPath) : windowRateFile();
    std::optional<RateFileError> rateError;
    bar.clear();
    if (!ratePath) {
        if (options.ratesPath)
            errors << "kbt2-quote: " << oneLine(*options.ratesPath) << ": no ordinary file of that name\n";
        else
            errors << "kbt2-quote: " << kRateFileName << " was found in none of the places the window looks in\n";
    } else if (!table.empty()) {
        bar.show("reading the rate file");
        rateError = table.read(*ratePath);
        if (rateError) errors << "kbt2-quote: " << oneLine(*ratePath) << ": " << rateError->description << '\n';
    }
    RateTableSource source(table, ratePath, rateError);

    // Second pass: each worksheet quoted and written as soon as it is done.
    bool anyFailed = false;
    RateFileIdentities identities;
    const bool summaries = options.summariesDir && writeSummary;
    FileResult written = output->write(headerOf(options.format));
    done = 0;
    worksheets.forEach([&](const QuoteItem& item) {
        if (!written.ok) return;
        bar.show("quoting", done++);
        WorksheetQuote quote = item.problem ? failedQuote(item.path, *item.problem)
                                            : quoteWorksheet(item.path, source, options.details || summaries);
        if (quote.details) identities.fill(quote.details->rateFile);
        if (summaries && quote.details) {
            const std::string pdf = summaryPath(*options.summariesDir, item.path);
            if (const auto failure = writeSummary(*quote.details, pdf)) {
                bar.clear();
                errors << "kbt2-quote: " << oneLine(pdf) << ": " << *failure << '\n';
                anyFailed = true;
            }
        }
        if (!options.details) quote.details.reset();
        anyFailed = anyFailed || !quote.ok;
        written = output->write(linesOf(quote, options.format));
    });
    bar.clear();
    if (written.ok) written = output->finish();
    if (!written.ok) {
        errors << "kbt2-quote: " << oneLine(options.outputPath.value_or("standard output")) << ": " << written.reason
               << '\n';
        return kUsageError;
    }
    return anyFailed ? kSomeFailed : kAllQuoted;
}

}  // namespace kbt2::quote
