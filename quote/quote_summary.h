#pragma once
// What a quote summary and the premium details view show: the worksheet's
// case (producer, agency, county, the five tax years), the figures of one
// premium run as calc/ returned them, from the commodity shares to the premium
// of every coverage level, and the rate file that priced it. Plain data,
// filled from a fresh calculation of the worksheet as it stands.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/premium.h"
#include "quote/language.h"
#include "quote/paper_options.h"

namespace kbt2 {

inline constexpr int kTaxYears = 5;
inline constexpr int kFirstTaxYear = 1993;

// What the premium does not know of a commodity report row it used: the
// row's own texts and the rate file's record. Its figures are the premium's
// row of the same index.
struct SummaryCommodity {
    std::string name;
    std::string code;                         // as the row holds it
    std::optional<std::uint64_t> recordLine;  // of the rate file, from 1; none when no record matched
};

// The rate file that priced the premium.
struct SummaryRateFile {
    std::string path;
    std::uint64_t size = 0;
    std::string modified;  // ISO 8601, local time
    std::string sha256;    // 64 hex digits
    std::uint64_t records = 0;
    bool sample = false;  // the made-up sample table shipped with the program
};

// One coverage level of a renewal: the producer premium the last quote gave
// it and the one this quote gives it; none where that quote's rate table
// does not offer the level.
struct LastQuoteLevel {
    std::string coverage;  // a caption of kCoverageLevels
    std::optional<double> last;
    std::optional<double> current;
};

// A renewal's last quote: the same worksheet priced under the earlier rate
// table, with what that table gave the premium, so a letter can say why a
// premium moved.
struct LastQuote {
    std::vector<LastQuoteLevel> levels;  // each level offered under either table, in column order
    // Each commodity row's rates under the earlier table, one per row of the
    // summary's premium in its order; empty when they are not known.
    std::vector<LevelValues> rates;
    double diversificationFactor = 0;
};

struct QuoteSummary {
    std::string worksheetName;  // the file's name, or empty for an unsaved worksheet
    std::string producer;
    std::string agency;
    std::string county;
    std::string state;
    std::array<double, kTaxYears> income{};
    std::array<double, kTaxYears> expenses{};

    // Every figure of the run: a row per commodity, a column per coverage
    // level (hidden ones too), the shares, the factor and the warnings.
    PremiumFigures premium;
    std::vector<SummaryCommodity> commodities;  // one per row of `premium`, in its order
    SummaryRateFile rateFile;
    // The same worksheet under an earlier rate table, for a renewal letter.
    std::optional<LastQuote> lastQuote;
    // Other scenarios of the farm ticked for the paper, side by side.
    std::optional<PaperOptions> options;
    // The language of the summary's words; its figures read the same in all.
    Language language = Language::English;
};

// One coverage level of the summary: its caption in kCoverageLevels and the
// premium's column of its figures.
struct SummaryLevel {
    std::string coverage;
    const PremiumColumn& figures;
};

// Every coverage level of the summary, in column order, offered or not.
std::vector<SummaryLevel> summaryLevels(const QuoteSummary& summary);

class Worksheet;

// The case of the worksheet as it stands: producer and agency (first
// lines), the state and county chosen on page 2, the five tax years.
QuoteSummary summaryCase(const Worksheet& ws, const std::string& worksheetName);

}  // namespace kbt2
