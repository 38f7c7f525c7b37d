#pragma once
// The premium of the worksheet as it stands, calculated afresh on a copy so
// nothing of the worksheet changes: what the details view and the quote
// summary are made from, never from fields that may be stale or typed over.

#include <optional>
#include <string>

#include "commands/premium.h"
#include "quote/quote_summary.h"
#include "rates/rate_source.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

struct FreshQuote {
    std::optional<QuoteSummary> summary;  // nothing when the premium stopped
    std::string problem;                  // the message that stopped it
};

// Runs Calculate Premium on a copy of `ws`, with the rate file `platform`
// finds (its chosen file, then its folders) read through `rates`, and every
// message answered OK without being shown. The eligibility warnings let it
// go on as they do in the window; any other message stops it.
// The rate file's size, time and SHA-256 are read after the premium unless
// `identifyRateFile` is false (a batch reads them once for all worksheets).
FreshQuote freshQuote(const Worksheet& ws, Platform& platform, RateSource& rates, const std::string& worksheetName,
                      bool identifyRateFile = true);

// The summary of the premium `ws` shows after Calculate Premium: that run's
// outcome and the rates it read. Nothing when it stopped. The rate file's
// size, time and SHA-256 are the caller's to fill in.
std::optional<QuoteSummary> premiumSummary(const Worksheet& ws, const PremiumOutcome& outcome, const RateLookup& rates,
                                           const std::string& worksheetName);

// Every field's text, check, selection and visibility copied, and nobody
// told: `to` has no observers and raises no click events.
void copyFields(const Worksheet& from, Worksheet& to);

}  // namespace kbt2
