#pragma once
// A whole kbt2-quote run: the worksheets of the arguments, the rate file read
// once for all of them, one quote after the other to the output.

#include <functional>
#include <iosfwd>
#include <string>

#include "app/quote/quote_options.h"
#include "quote/quote_summary.h"
#include "storage/file_io.h"

namespace kbt2::quote {

// Exit statuses.
inline constexpr int kAllQuoted = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kUsageError = 2;

// Writes one quote summary PDF to `path`.
using SummaryWriter = std::function<FileOutcome(const QuoteSummary& summary, const std::string& path)>;

// `progress` tells whether a progress line may be drawn on `errors` (a
// terminal); `writeSummary` writes the PDFs of --summaries. Returns the exit
// status.
int runQuoteBatch(const QuoteOptions& options, std::ostream& out, std::ostream& errors, bool progress,
                  const SummaryWriter& writeSummary = {});

}  // namespace kbt2::quote
