#pragma once
// A whole kbt2-quote run: the worksheets of the arguments, the rate file read
// once for all of them, one quote after the other to the output.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/quote/quote_options.h"
#include "quote/quote_summary.h"
#include "storage/file_io.h"

namespace kbt2::quote {

// Exit statuses.
inline constexpr int kAllQuoted = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kUsageError = 2;

// One quote summary PDF made in memory: its bytes, or why there are none.
// A PDF that was drawn but came out `cutShort` is reported as a file not
// written, the one already under its name being left as it was.
struct DrawnSummary {
    std::string pdf;
    std::optional<FileFailure> failed;
    bool cutShort = false;
};
// Draws a summary; called on the quoting threads, several at a time.
using SummaryDrawer = std::function<DrawnSummary(const QuoteSummary& summary)>;

// `progress` tells whether a progress line may be drawn on `errors` (a
// terminal); `drawSummary` draws the PDFs of --summaries, which the run
// writes. Returns the exit status.
int runQuoteBatch(const QuoteOptions& options, std::ostream& out, std::ostream& errors, bool progress,
                  const SummaryDrawer& drawSummary = {});

}  // namespace kbt2::quote
