#pragma once
// A whole kbt2-quote run: the worksheets of the arguments, the rate file read
// once for all of them, one quote after the other to the output.

#include <iosfwd>

#include "app/quote/quote_options.h"

namespace kbt2::quote {

// Exit statuses.
inline constexpr int kAllQuoted = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kUsageError = 2;

// `progress` tells whether a progress line may be drawn on `errors` (a
// terminal). Returns the exit status.
int runQuoteBatch(const QuoteOptions& options, std::ostream& out, std::ostream& errors, bool progress);

}  // namespace kbt2::quote
