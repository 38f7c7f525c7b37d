#pragma once
// One worksheet quoted as a person quotes it in a window just started: Load,
// Calculate KBT, the calculation of the commodity report, Calculate Premium,
// OK to every message, then Tab 9 read off.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/premium.h"
#include "quote/quote_summary.h"
#include "rates/rate_source.h"
#include "worksheet/premium_rows.h"

namespace kbt2::quote {

// One coverage level of the premium table: its caption and, in the order of
// kPremiumRows, the texts of its fields.
struct LevelQuote {
    std::string coverage;
    std::vector<std::string> figures;
};

// Which scenario a lone worksheet is: a case of its base alone.
inline constexpr const char* kBaseScenario = "base";

struct WorksheetQuote {
    std::string file;
    bool ok = false;
    std::string message;                // the message that stopped it
    std::vector<std::string> warnings;  // tokens of kPremiumWarningTexts, then kNoRateRecord
    // The commodity rows the rate file has no record for (priced at rate 0,
    // so the figures are no quote): each row's code and name.
    struct Unrated {
        std::string code;
        std::string name;
    };
    std::vector<Unrated> unrated;
    std::vector<LevelQuote> levels;        // the coverage levels shown
    std::vector<std::string> totals;       // in the order of kTotalColumns
    std::string producer;                  // the producer's name, once loaded
    std::string county;                    // the county selected, once loaded
    std::string scenario = kBaseScenario;  // which scenario of its case it is
    std::optional<QuoteSummary> details;   // when asked for and quoted
};

// The names printed for the premium table's rows: one per row of
// kPremiumRows, in its order (the page's, top to bottom).
// clang-format off
inline constexpr const char* kLevelColumnNames[] = {
    "indemnity_threshold", "weighted_rate", "diversification_factor", "kbt_rate", "kbt_liability",
    "net_kbt_liability",   "gross_premium", "subsidy",                "producer_premium",
};
static_assert(std::size(kLevelColumnNames) == std::size(kPremiumRows));

// Where a figure stands among a level's figures.
constexpr size_t figureIndex(std::string_view name) {
    for (size_t i = 0; i < std::size(kLevelColumnNames); ++i)
        if (kLevelColumnNames[i] == name) return i;
    throw "no such figure";
}

// Page 9's single fields, after the table's.
struct QuoteColumn {
    const char* name;
    FieldRef field;
};
inline constexpr QuoteColumn kTotalColumns[] = {
    {"preliminary_kbt",        {Control::Projkbt, 0}},
    {"total_expected_kbt",     {Control::Text15, 0}},
    {"allowable_kbt",          {Control::Text21, 0}},
    {"crops",                  {Control::Croptext, 0}},
};
// clang-format on

// The rate file the window would read: the first of its places that holds one.
std::optional<std::string> windowRateFile();
// The file named, when the window's search would take it: an ordinary file,
// not a folder, a pipe or a device.
std::optional<std::string> namedRateFile(const std::string& path);

// The rate keys the worksheet's premium will ask for; nothing when the file
// does not load.
std::optional<PremiumRateKeys> rateKeysOf(const std::string& path);

// `withDetails` adds the premium's details (the rate file's size, time and
// SHA-256 are the caller's to fill in).
WorksheetQuote quoteWorksheet(const std::string& path, RateSource& rates, bool withDetails = false);

// The worksheet quoted under each source, as a window just started would
// quote it with that source: loaded and calculated up to the premium once,
// then Calculate Premium pressed once per source. That command reads only
// what the buttons before it wrote and writes every figure and level it
// shows (or nothing, when it stops), so each press gives what the press of a
// fresh window would.
// `withDetails` as for quoteWorksheet.
std::vector<WorksheetQuote> quoteWorksheetUnder(const std::string& path, std::span<RateSource* const> sources,
                                                bool withDetails = false);

// The warning of a quote with commodities the rate file has no record for.
inline constexpr const char* kNoRateRecord = "no-rate-record";
// Why such a quote gets no summary: each commodity without a record, and the county.
std::string unratedText(const WorksheetQuote& quote);

// An item that named no worksheet: an error with this message.
WorksheetQuote failedQuote(const std::string& path, std::string message);

}  // namespace kbt2::quote
