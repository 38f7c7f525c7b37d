#pragma once
// What a quote summary and the premium details view show: the worksheet's
// case (producer, agency, county, the five tax years) and the values of one
// premium run, from the commodity shares to the premium of every coverage
// level, with the rate file that priced it. Plain data, filled from a fresh
// calculation of the worksheet as it stands.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/premium.h"

namespace kbt2 {

inline constexpr int kTaxYears = 5;
inline constexpr int kFirstTaxYear = 1993;

// One commodity report row as the premium used it.
struct SummaryCommodity {
    int row = 0;  // 0 to 13
    std::string name;
    std::string code;  // as the row holds it
    double kbt = 0;    // whole dollars
    double share = 0;  // of the total expected KBT, to three decimals
    bool livestock = false;
    bool insurable = false;
    std::optional<std::uint64_t> recordLine;  // of the rate file, from 1; none when no record matched
    std::array<double, 3> rates{};            // coverage levels .80, .75, .65
    std::array<double, 3> weighted{};         // rate times share, to three decimals
};

// One coverage-level column of the premium table, hidden or not.
struct SummaryLevel {
    std::string coverage;  // ".80", ".75", ".65"
    bool offered = false;
    double indemnityThreshold = 0;  // the revenue guarantee
    double weightedRate = 0;
    std::string diversificationFactor;
    double kbtRate = 0;
    double kbtLiability = 0;
    double netKbtLiability = 0;
    double grossPremium = 0;
    double subsidy = 0;
    double producerPremium = 0;
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
    std::string coverage;  // ".80", ".75", ".65"
    std::optional<double> last;
    std::optional<double> current;
};

struct QuoteSummary {
    std::string worksheetName;  // the file's name, or empty for an unsaved worksheet
    std::string producer;
    std::string agency;
    std::string county;
    std::string state;
    std::array<double, kTaxYears> income{};
    std::array<double, kTaxYears> expenses{};

    double averageIncome = 0;
    double projectedKbt = 0;
    double totalExpectedKbt = 0;
    double allowableKbt = 0;
    double mpci = 0;
    std::vector<SummaryCommodity> commodities;
    double equalShare = 0;
    double deviationSum = 0;
    double significanceThreshold = 0;
    int significantCount = 0;
    double livestockShare = 0;
    double livestockOrInsurableShare = 0;
    std::string diversificationFactor;
    std::array<SummaryLevel, 3> levels;
    std::vector<PremiumWarning> warnings;  // the eligibility warnings, in the order shown
    SummaryRateFile rateFile;
    // The same worksheet's premiums under an earlier rate table, for a
    // renewal letter; each level offered under either table, in column order.
    std::optional<std::vector<LastQuoteLevel>> lastQuote;
};

class Worksheet;

// The case of the worksheet as it stands: producer and agency (first
// lines), the state and county chosen on page 2, the five tax years.
QuoteSummary summaryCase(const Worksheet& ws, const std::string& worksheetName);

}  // namespace kbt2
