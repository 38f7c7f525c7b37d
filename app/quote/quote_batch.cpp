#include "app/quote/quote_batch.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "app/quote/compare_format.h"
#include "app/quote/ordered_jobs.h"
#include "app/quote/output_target.h"
#include "app/quote/quote_details.h"
#include "app/quote/quote_format.h"
#include "app/quote/quote_progress.h"
#include "app/quote/worksheet_list.h"
#include "quote/batch_rates.h"
#include "quote/compare_summary.h"
#include "quote/printable.h"
#include "quote/quote_worksheet.h"
#include "quote/rate_file_identity.h"
#include "storage/file_io.h"
#include "worksheet/system_error_text.h"

namespace kbt2::quote {
namespace {

// Where the lines go: standard output as each worksheet finishes, or a file
// that takes its name only when the run is complete.
class Output {
public:
    virtual ~Output() = default;
    virtual FileOutcome write(const std::string& lines) = 0;
    virtual FileOutcome finish() = 0;
};

class StreamOutput final : public Output {
public:
    explicit StreamOutput(std::ostream& out) : out_(out) {}
    FileOutcome write(const std::string& lines) override {
        out_.write(lines.data(), static_cast<std::streamsize>(lines.size()));
        out_.flush();
        if (!out_) return FileFailure{"The output could not be written."};
        return Done{};
    }
    FileOutcome finish() override { return Done{}; }

private:
    std::ostream& out_;
};

// A pipe, a device or a terminal given to --output.
class StreamFileOutput final : public Output {
public:
    explicit StreamFileOutput(const std::string& path) : target_(path) {}
    FileOutcome open() { return target_.open(); }
    FileOutcome write(const std::string& lines) override { return target_.write(lines); }
    FileOutcome finish() override { return target_.close(); }

private:
    StreamTarget target_;
};

class FileOutput final : public Output {
public:
    explicit FileOutput(const std::string& path) : file_(path) {}
    FileOutcome open() { return file_.open(); }
    // Gathered into large writes: a batch writes many short lines.
    FileOutcome write(const std::string& lines) override {
        pending_ += lines;
        if (pending_.size() < (size_t{1} << 16)) return Done{};
        return flush();
    }
    FileOutcome finish() override {
        if (FileOutcome flushed = flush(); !flushed.ok()) return flushed;
        return file_.commit();
    }

private:
    FileOutcome flush() {
        FileOutcome written = file_.write(pending_);
        pending_.clear();
        return written;
    }
    AtomicFileWriter file_;
    std::string pending_;
};

// Reads the tables, the two of a comparison at the same time.
template <class Read>
void readBoth(BatchRates& first, BatchRates* second, Read read) {
    if (!second) return read(first);
    std::thread other([&] { read(*second); });
    read(first);
    other.join();
}

// The worksheets' keys for the tables that need them, then those tables
// read for the keys: for a handful of worksheets, or when a table was too
// large to be read county-wide. Only the keys are kept, never the
// worksheets. `reading` names the reading on the progress line.
void collectKeys(const WorksheetList& worksheets, unsigned workers, Progress& bar, std::vector<BatchRates*> tables,
                 const char* reading) {
    std::erase_if(tables, [](BatchRates* t) { return !t || !t->needsKeys(); });
    if (tables.empty()) return;
    size_t done = 0;
    OrderedJobs<std::optional<PremiumRateKeys>> keys(workers, [&](std::optional<PremiumRateKeys>&& k) {
        bar.show("reading worksheets", done++);
        if (!k) return;
        for (BatchRates* table : tables) table->keyed().want(k->stateCode, k->countyCode, k->codes);
    });
    worksheets.forEach([&](const QuoteItem& item) {
        if (item.problem)
            keys.add([] { return std::optional<PremiumRateKeys>(); });
        else
            keys.add([path = item.path]() -> std::optional<PremiumRateKeys> {
                // A worksheet whose keys cannot be read is left to its quote to report.
                try {
                    return rateKeysOf(path);
                } catch (...) {
                    return std::nullopt;
                }
            });
    });
    keys.finish();
    bar.clear();
    bar.show(reading);
    readBoth(*tables.front(), tables.size() > 1 ? tables.back() : nullptr, [](BatchRates& t) { t.readKeyed(); });
}

// The rate files the run will read, for --output to keep away from.
std::vector<std::string> rateFilesOf(const QuoteOptions& options) {
    std::vector<std::string> files;
    if (options.ratesPath)
        files.push_back(*options.ratesPath);
    else if (const auto found = windowRateFile())
        files.push_back(*found);
    if (options.comparePath) files.push_back(*options.comparePath);
    return files;
}

// Where the lines go; what is wrong with --output, when something is.
std::unique_ptr<Output> openOutput(const QuoteOptions& options, const WorksheetList& worksheets, std::ostream& out,
                                   std::string& problem) {
    if (!options.outputPath) return std::make_unique<StreamOutput>(out);
    const std::string& path = *options.outputPath;
    if (auto conflict = outputConflict(path, worksheets, rateFilesOf(options))) {
        problem = std::move(*conflict);
        return nullptr;
    }
    FileOutcome opened = Done{};  // by the branch below
    std::unique_ptr<Output> output;
    if (isStreamTarget(path)) {
        auto stream = std::make_unique<StreamFileOutput>(path);
        opened = stream->open();
        output = std::move(stream);
    } else {
        auto file = std::make_unique<FileOutput>(path);
        opened = file->open();
        output = std::move(file);
    }
    if (opened.ok()) return output;
    problem = printable(path) + ": " + opened.failure().reason;
    return nullptr;
}

// A worksheet's quote, or, should quoting it throw (memory ran out), its
// error: one worksheet never ends the run.
template <class Quote, class Failed>
auto quoteGuarded(const QuoteItem& item, Quote quote, Failed failedOne) {
    try {
        return quote();
    } catch (const std::exception& error) {
        return failedOne(item.path, std::string("The worksheet could not be quoted: ") + error.what() + ".");
    } catch (...) {
        return failedOne(item.path, std::string("The worksheet could not be quoted."));
    }
}

// Up to this many worksheets, each table is read for just their keys, as the
// window reads it for one, and not county-wide: reading so few worksheets
// twice costs next to nothing, while the county-wide table keeps every
// record of the plan's counties, which on a table that is nearly all theirs
// costs several times the reading itself. Beyond it, reading every worksheet
// a second time for its keys costs more than the county-wide table saves.
constexpr size_t kKeyedReadUpTo = 64;

// Worksheets go to the threads a few at a time: handing each over alone
// cost more in waking threads than quoting it.
constexpr size_t kWorksheetsPerJob = 8;

// What the threads hand the output for a few worksheets in a row.
struct QuotedLines {
    std::string lines;
    size_t worksheets = 0;
    size_t unrated = 0;  // of compared worksheets, those with a commodity no record priced
    bool ok = true;
    std::string notes;                    // for the error stream: cases whose scenarios were not quoted
    std::vector<WorksheetQuote> quotes;   // of a plain run, whose lines the writing thread makes
    std::vector<ComparedQuote> compared;  // for the closing summary and the letters
    // Beside each of quotes or compared: its summary PDF, for those that get one.
    std::vector<std::optional<DrawnSummary>> letters;
};

// Letters are flushed to the disk in groups of this many: a file's fsync
// and its folder's, each waiting for the disk, cost about as much as drawing
// the letter.
constexpr size_t kLettersPerSync = 32;

// What the writing thread has to say of the worksheets handed back, in
// order: held until their letters are on the disk, so that no line and no
// exit status tells of a letter that a crash could still lose.
struct Said {
    std::string error;     // a line of standard error
    std::string lines;     // for the output
    std::string letter;    // a letter's path: its outcome is the group's next
    bool existed = false;  // a file was under the letter's name before
};

// Why a case's other scenarios were left out; its base is quoted alone.
std::string caseNotQuoted(const std::string& path, const CaseFileProblem& problem) {
    std::string why;
    switch (problem.kind) {
    case CaseFileProblem::Kind::IndexUnreadable:
        why = "their index " + printable(caseIndexPathOf(path)) + " could not be read: " + printable(problem.reason);
        break;
    case CaseFileProblem::Kind::IndexDamaged:
        why = "line " + std::to_string(problem.line) + " of their index " + printable(caseIndexPathOf(path)) +
              " is damaged: " + printable(problem.reason);
        break;
    case CaseFileProblem::Kind::IndexStale: why = "the file was saved again since without them"; break;
    case CaseFileProblem::Kind::ScenarioNotRead: why = printable(problem.reason); break;
    }
    return "kbt2-quote: " + printable(path) + ": the scenarios saved with it were not quoted: " + why +
           "; the base was quoted alone\n";
}

}  // namespace

int runQuoteBatch(const QuoteOptions& options, std::ostream& out, std::ostream& errors, bool progress,
                  const SummaryDrawer& drawSummary) {
    // Only the folders' listings are read before the output is settled.
    const WorksheetList worksheets(options.inputs);
    std::string problem;
    const std::unique_ptr<Output> output = openOutput(options, worksheets, out, problem);
    if (!output) {
        errors << "kbt2-quote: " << problem << '\n' << kUsage << '\n';
        return kUsageError;
    }
    const unsigned workers = options.jobs ? options.jobs : defaultWorkers();
    const bool comparing = options.comparePath.has_value();
    bool anyFailed = false;
    for (const std::string& folder : worksheets.emptyFolders()) {
        errors << "kbt2-quote: " << printable(folder) << ": the folder holds no worksheet (*.wsk)\n";
        anyFailed = true;
    }

    // The rate tables, each read once for all.
    Progress bar(errors, progress, worksheets.size());
    BatchRates after;  // the rate table of a plain run
    BatchRates before;
    after.locate(options.ratesPath, errors);
    if (comparing) before.locate(options.comparePath, errors);
    const bool summaries = options.summariesDir && drawSummary;
    const bool withDetails = options.details || summaries;
    // Details name the copy of the table they were priced from: its digest
    // is taken as it is read.
    if (withDetails) after.identify();
    const bool keysOnly = worksheets.size() <= kKeyedReadUpTo;
    if (keysOnly) {
        for (BatchRates* table : {&after, &before}) table->readByKeysOnly();
        collectKeys(worksheets, workers, bar, {&after, comparing ? &before : nullptr},
                    comparing ? "reading the rate tables" : "reading the rate file");
    } else {
        bar.show(comparing ? "reading the rate tables" : "reading the rate file");
        readBoth(after, comparing ? &before : nullptr, [](BatchRates& t) { t.readCountyWide(); });
    }
    bar.clear();
    // A table that can price nothing is refused before any worksheet.
    const bool refused = (comparing && before.refused(errors)) | after.refused(errors);
    if (refused) {
        errors << kUsage << '\n';
        return kUsageError;
    }
    for (const BatchRates* table : {&before, &after})
        if ((table == &after || comparing) && table->sample())
            errors << "kbt2-quote: " << printable(*table->path())
                   << ": the sample rate table shipped with the program; its rates are made up, and nothing "
                      "priced from it is a quote\n";
    if (!keysOnly)
        collectKeys(worksheets, workers, bar, {&after, comparing ? &before : nullptr}, "reading the rate file again");
    bar.clear();
    if (comparing) before.reportError(errors);
    after.reportError(errors);
    RateSource& afterSource = after.source();
    RateSource& beforeSource = before.source();
    const TableNames tables{before.path().value_or(options.comparePath.value_or("")),
                            after.path().value_or(options.ratesPath.value_or(kRateFileName))};

    // Each worksheet quoted and written in the order given.
    size_t unratedQuotes = 0;  // quotes with commodities the rate file has no record for
    CompareSummary summary;
    RateFileIdentities identities;
    if (const auto& read = after.identity()) identities.know(*read);
    std::mutex identitiesMutex;  // the quoting threads fill in the identities of the letters they draw
    const auto fillIdentity = [&](SummaryRateFile& file) {
        const std::lock_guard lock(identitiesMutex);
        identities.fill(file);
    };
    // On a quoting thread: the summary PDF of a quote that gets one.
    const auto drawLetter = [&](std::optional<QuoteSummary>& details, bool unrated) -> std::optional<DrawnSummary> {
        if (!summaries || !details || unrated) return std::nullopt;
        fillIdentity(details->rateFile);
        details->language = options.language.value_or(Language::English);
        return drawSummary(*details);
    };
    SummaryNames summaryNames(options.summariesDir.value_or(""));
    FileOutcome written = output->write(comparing ? compareHeaderOf(options.format) : headerOf(options.format));
    // One worksheet's lines, added to those of its job. A plain quote's
    // lines are made on the writing thread, which fills in the rate file's
    // identity of its details and writes its summary.
    const auto quoteOne = [&](const QuoteItem& item, QuotedLines& quoted) {
        ++quoted.worksheets;
        if (item.caseProblem) {
            quoted.notes += caseNotQuoted(item.path, *item.caseProblem);
            // A case saved again without its scenarios is quoted as it now stands.
            if (item.caseProblem->kind != CaseFileProblem::Kind::IndexStale) quoted.ok = false;
        }
        if (!comparing) {
            quoted.quotes.push_back(
                item.problem
                    ? failedQuote(item.path, *item.problem)
                    : quoteGuarded(
                          item, [&] { return quoteWorksheet(item.path, afterSource, withDetails); }, failedQuote));
            WorksheetQuote& quote = quoted.quotes.back();
            quote.scenario = item.scenario;
            quoted.letters.push_back(drawLetter(quote.details, !quote.unrated.empty()));
            return;
        }
        ComparedQuote compared =
            item.problem ? failedComparison(item.path, *item.problem)
                         : quoteGuarded(
                               item, [&] { return compareWorksheet(item.path, beforeSource, afterSource, summaries); },
                               failedComparison);
        compared.before.scenario = compared.after.scenario = item.scenario;
        const bool changed = failed(compared) || !unchanged(compared);
        if (!compared.before.unrated.empty() || !compared.after.unrated.empty()) {
            quoted.unrated += 1;
            quoted.ok = false;
        }
        if (!options.changedOnly || changed) quoted.lines += compareLinesOf(compared, tables, options.format);
        quoted.ok = quoted.ok && !failed(compared);
        // The closing summary and the letters need only the quotes: the
        // records go, and the details of a worksheet no letter is for.
        compared.records.clear();
        if (!changed || failed(compared)) compared.after.details.reset();
        if (!progress && !compared.after.details) return;
        // A renewal letter: the new quote's summary with the old premiums beside.
        if (compared.after.details) compared.after.details->lastQuote = lastQuoteOf(compared);
        quoted.letters.push_back(drawLetter(compared.after.details, !compared.after.unrated.empty()));
        // The earlier table's rates are in the letter now, or no letter is for them.
        compared.earlier = {};
        quoted.compared.push_back(std::move(compared));
    };
    // The letters written and not yet on the disk, and what is held back
    // until they are.
    AtomicFileGroup letterFiles;
    std::vector<Said> held;
    const auto sayError = [&](std::string text) { held.push_back({std::move(text), {}, {}, false}); };
    const auto letterFailed = [&](const std::string& pdf, const std::string& reason) {
        sayError("kbt2-quote: " + printable(pdf) + ": " + reason + '\n');
        anyFailed = true;
    };
    // The letters flushed to the disk and named, then everything held said in
    // its order; a letter that could not be written is reported in its place
    // and the run ends as one that did not quote all.
    const auto release = [&] {
        const std::vector<FileOutcome> committed = letterFiles.commit();
        size_t next = 0;
        std::vector<Said> saying;
        saying.swap(held);
        for (Said& said : saying) {
            if (!said.letter.empty()) {
                const FileOutcome& outcome = committed.at(next++);
                if (outcome.ok()) continue;
                said.error = "kbt2-quote: " + printable(said.letter) + ": " + outcome.failure().reason +
                             (said.existed ? kEarlierFileKept : "") + '\n';
                anyFailed = true;
            }
            if (!said.error.empty()) {
                bar.clear();
                errors << said.error;
            } else if (written.ok() && !said.lines.empty()) {
                written = output->write(said.lines);
            }
        }
    };
    // A letter drawn on a quoting thread, written under its name in the
    // folder (made when missing), whole or not at all.
    const auto writeLetter = [&](const std::string& pdf, const DrawnSummary& drawn) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(pdf).parent_path(), error);
        if (error) return letterFailed(pdf, systemErrorText(error.value()));
        if (drawn.failed && !drawn.cutShort) return letterFailed(pdf, drawn.failed->reason);
        const bool existed = std::filesystem::exists(pdf, error);
        const FileOutcome added = drawn.failed ? FileOutcome(*drawn.failed) : letterFiles.add(pdf, drawn.pdf);
        if (!added.ok()) return letterFailed(pdf, added.failure().reason + (existed ? kEarlierFileKept : ""));
        held.push_back({{}, {}, pdf, existed});
    };
    // The rate file's identity of a quote's details (a letter's was filled
    // in before it was drawn) and, for --summaries, its summary PDF.
    const auto summaryOf = [&](QuoteSummary& details, const std::string& file,
                               const std::optional<DrawnSummary>& drawn) {
        if (!drawn) fillIdentity(details.rateFile);
        if (summaries && drawn) writeLetter(summaryNames.pathFor(file), *drawn);
    };
    const auto letterOf = [&](ComparedQuote& compared, const std::optional<DrawnSummary>& drawn) {
        if (progress) summary.add(compared);
        if (!compared.after.details) return;
        if (summaries && !compared.after.unrated.empty()) {
            sayError("kbt2-quote: " + printable(compared.after.file) +
                     ": no renewal letter: " + printable(unratedText(compared.after)) + '\n');
            return;
        }
        summaryOf(*compared.after.details, compared.after.file, drawn);
    };
    const auto linesOfPlain = [&](WorksheetQuote& quote, const std::optional<DrawnSummary>& drawn) {
        if (!quote.unrated.empty()) {
            ++unratedQuotes;
            if (summaries)
                sayError("kbt2-quote: " + printable(quote.file) +
                         ": no quote summary: " + printable(unratedText(quote)) + '\n');
            anyFailed = true;
        } else if (quote.details) {
            summaryOf(*quote.details, quote.file, drawn);
        }
        if (!options.details) quote.details.reset();
        anyFailed = anyFailed || !quote.ok;
        return linesOf(quote, options.format);
    };
    size_t done = 0;
    {
        OrderedJobs<QuotedLines> quotes(workers, [&](QuotedLines&& quoted) {
            bar.show("quoting", done);
            done += quoted.worksheets;
            if (!quoted.notes.empty()) sayError(std::move(quoted.notes));
            anyFailed = anyFailed || !quoted.ok;
            unratedQuotes += quoted.unrated;
            for (size_t i = 0; i < quoted.compared.size(); ++i) letterOf(quoted.compared[i], quoted.letters[i]);
            for (size_t i = 0; i < quoted.quotes.size(); ++i)
                quoted.lines += linesOfPlain(quoted.quotes[i], quoted.letters[i]);
            held.push_back({{}, std::move(quoted.lines), {}, false});
            if (letterFiles.size() == 0 || letterFiles.size() >= kLettersPerSync) release();
        });
        std::vector<QuoteItem> items;
        const auto handOver = [&] {
            quotes.add([&quoteOne, items = std::move(items)] {
                QuotedLines quoted;
                for (const QuoteItem& item : items) quoteOne(item, quoted);
                return quoted;
            });
            items.clear();
        };
        worksheets.forEach([&](const QuoteItem& item) {
            if (!written.ok()) return;
            items.push_back(item);
            if (items.size() == kWorksheetsPerJob) handOver();
        });
        if (!items.empty() && written.ok()) handOver();
        quotes.finish();
        release();
    }
    bar.clear();
    if (written.ok()) written = output->finish();
    if (!written.ok()) {
        errors << "kbt2-quote: " << printable(options.outputPath.value_or("standard output")) << ": "
               << written.failure().reason << '\n';
        return kUsageError;
    }
    if (comparing && progress) errors << summary.text();
    if (unratedQuotes > 0)
        errors << "kbt2-quote: " << unratedQuotes << (unratedQuotes == 1 ? " worksheet was" : " worksheets were")
               << " priced with commodities the rate file has no record for (" << kNoRateRecord
               << "): their figures are no quote\n";
    return anyFailed ? kSomeFailed : kAllQuoted;
}

}  // namespace kbt2::quote
