#include "app/quote/quote_batch.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/quote/compare_summary.h"
#include "app/quote/ordered_jobs.h"
#include "app/quote/quote_compare.h"
#include "app/quote/quote_format.h"
#include "app/quote/quote_progress.h"
#include "app/quote/quote_worksheet.h"
#include "app/quote/worksheet_list.h"
#include "calc/rate_table.h"
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

std::string printable(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// A rate table of the run: where it is, what it holds, why it could not be
// read.
struct BatchRates {
    std::optional<std::string> path;
    RateTable table;
    std::optional<RateFileError> error;
};

// The file a table is read from: the one named, when it is an ordinary file
// (a pipe or a device could stall the batch), else the window's search.
std::optional<std::string> locate(const std::optional<std::string>& named, std::ostream& errors) {
    const std::optional<std::string> path = named ? namedRateFile(*named) : windowRateFile();
    if (path) return path;
    if (named)
        errors << "kbt2-quote: " << printable(*named) << ": no ordinary file of that name\n";
    else
        errors << "kbt2-quote: " << kRateFileName << " was found in none of the places the window looks in\n";
    return std::nullopt;
}

void read(BatchRates& rates) {
    if (rates.path && !rates.table.empty()) rates.error = rates.table.read(*rates.path);
}

void reportError(const BatchRates& rates, std::ostream& errors) {
    if (rates.error) errors << "kbt2-quote: " << printable(*rates.path) << ": " << rates.error->description << '\n';
}

// What the second pass hands the output for one worksheet.
struct QuotedLines {
    std::string lines;
    bool ok = true;
    bool shown = true;                      // false: left out (--changed-only)
    std::optional<ComparedQuote> compared;  // kept for the summary
};

}  // namespace

int runQuoteBatch(const QuoteOptions& options, std::ostream& out, std::ostream& errors, bool progress) {
    std::unique_ptr<Output> output;
    if (options.outputPath) {
        auto file = std::make_unique<FileOutput>(*options.outputPath);
        if (const FileResult opened = file->open(); !opened.ok) {
            errors << "kbt2-quote: " << printable(*options.outputPath) << ": " << opened.reason << '\n'
                   << kUsage << '\n';
            return kUsageError;
        }
        output = std::move(file);
    } else {
        output = std::make_unique<StreamOutput>(out);
    }
    const unsigned workers = options.jobs ? options.jobs : defaultWorkers();
    const bool comparing = options.comparePath.has_value();

    // First pass: what every worksheet will ask of the rate tables. Only the
    // keys are kept, never the worksheets.
    const WorksheetList worksheets(options.inputs);
    Progress bar(errors, progress, worksheets.size());
    BatchRates after;  // the rate table of a plain run
    BatchRates before;
    {
        size_t done = 0;
        OrderedJobs<std::optional<PremiumRateKeys>> keys(workers, [&](std::optional<PremiumRateKeys>&& k) {
            bar.show("reading worksheets", done++);
            if (!k) return;
            after.table.want(k->stateCode, k->countyCode, k->codes);
            if (comparing) before.table.want(k->stateCode, k->countyCode, k->codes);
        });
        worksheets.forEach([&](const QuoteItem& item) {
            if (item.problem)
                keys.add([] { return std::optional<PremiumRateKeys>(); });
            else
                keys.add([path = item.path] { return rateKeysOf(path); });
        });
        keys.finish();
    }

    // The rate tables, each read once for all, the two of a comparison at
    // the same time.
    bar.clear();
    after.path = locate(options.ratesPath, errors);
    if (comparing) before.path = locate(options.comparePath, errors);
    bar.show(comparing ? "reading the rate tables" : "reading the rate file");
    if (comparing) {
        std::thread other([&before] { read(before); });
        read(after);
        other.join();
        bar.clear();
        reportError(before, errors);
    } else {
        read(after);
        bar.clear();
    }
    reportError(after, errors);
    RateTableSource afterSource(after.table, after.path, after.error);
    RateTableSource beforeSource(before.table, before.path, before.error);
    const TableNames tables{before.path.value_or(options.comparePath.value_or("")),
                            after.path.value_or(options.ratesPath.value_or(kRateFileName))};

    // Second pass: each worksheet quoted and written in the order given.
    bool anyFailed = false;
    CompareSummary summary;
    FileResult written = output->write(comparing ? compareHeaderOf(options.format) : headerOf(options.format));
    size_t done = 0;
    {
        OrderedJobs<QuotedLines> quotes(workers, [&](QuotedLines&& quoted) {
            bar.show("quoting", done++);
            anyFailed = anyFailed || !quoted.ok;
            if (quoted.compared) summary.add(*quoted.compared);
            if (written.ok && quoted.shown) written = output->write(quoted.lines);
        });
        worksheets.forEach([&](const QuoteItem& item) {
            if (!written.ok) return;
            if (!comparing) {
                quotes.add([&, item] {
                    const WorksheetQuote quote =
                        item.problem ? failedQuote(item.path, *item.problem) : quoteWorksheet(item.path, afterSource);
                    return QuotedLines{linesOf(quote, options.format), quote.ok, true, std::nullopt};
                });
                return;
            }
            quotes.add([&, item] {
                ComparedQuote compared = item.problem ? failedComparison(item.path, *item.problem)
                                                      : compareWorksheet(item.path, beforeSource, afterSource);
                const bool shown = !options.changedOnly || failed(compared) || !unchanged(compared);
                std::string lines = shown ? compareLinesOf(compared, tables, options.format) : std::string();
                const bool ok = !failed(compared);
                // The summary needs only the quotes: the records go.
                compared.records.clear();
                return QuotedLines{std::move(lines), ok, shown,
                                   progress ? std::optional<ComparedQuote>(std::move(compared)) : std::nullopt};
            });
        });
        quotes.finish();
    }
    bar.clear();
    if (written.ok) written = output->finish();
    if (!written.ok) {
        errors << "kbt2-quote: " << printable(options.outputPath.value_or("standard output")) << ": " << written.reason
               << '\n';
        return kUsageError;
    }
    if (comparing && progress) errors << summary.text();
    return anyFailed ? kSomeFailed : kAllQuoted;
}

}  // namespace kbt2::quote
