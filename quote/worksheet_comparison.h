#pragma once
// kbt2-quote --compare: each worksheet quoted under an old and a new rate
// table, set side by side (what a renewal does to a client's premium, and
// which rate records moved it).

#include <optional>
#include <string>
#include <vector>

#include "quote/quote_worksheet.h"
#include "rates/rate_source.h"

namespace kbt2::quote {

// One commodity of the worksheet whose rate record differs between the
// tables: what each table gave its row.
struct RecordChange {
    double code = 0;
    CommodityRates before;
    CommodityRates after;
};

// What the old table gave the premium of a quote with details: each
// commodity row's rates and the diversification factor.
struct EarlierPremium {
    std::vector<LevelValues> rates;  // one per row of the premium, in its order
    double diversificationFactor = 0;
};

struct ComparedQuote {
    WorksheetQuote before;              // under the old table
    WorksheetQuote after;               // under the new one
    std::vector<RecordChange> records;  // in the order of the report rows
    EarlierPremium earlier;             // when asked for with the details
};

// The worksheet quoted under both tables, as two plain runs would quote it;
// `withDetails` adds the details of the quote under the new table and what
// the old table gave the premium.
ComparedQuote compareWorksheet(const std::string& path, RateSource& before, RateSource& after,
                               bool withDetails = false);
// An item that named no worksheet.
ComparedQuote failedComparison(const std::string& path, const std::string& message);

// Every figure, message and warning the same under both tables.
bool unchanged(const ComparedQuote& compared);
// Either quote stopped by a message.
bool failed(const ComparedQuote& compared);

// One coverage level offered under either table: its caption and the
// level under each (null where that table does not offer it).
struct LevelPair {
    const char* coverage;
    const LevelQuote* before;
    const LevelQuote* after;
};
std::vector<LevelPair> levelPairs(const ComparedQuote& compared);

// The producer premium of a level as a number; 0 for a level not offered.
double producerPremiumOf(const LevelQuote* level);

// The producer premium's change at a level, new less old in whole dollars
// (a level not offered counts 0).
double premiumChange(const LevelPair& level);

// The producer premium at each level offered under either table, old and
// new, as a renewal letter sets them side by side, with the old table's
// rates and factor.
LastQuote lastQuoteOf(const ComparedQuote& compared);

}  // namespace kbt2::quote
