#pragma once
// Calculate Premium (Command4): reads the worksheet, looks up the county's
// rates of every commodity, asks calc/ for every figure of page 9 and writes
// them, or tells the user what stopped it.

#include <optional>
#include <string>
#include <vector>

#include "calc/premium.h"
#include "rates/rate_source.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// What Calculate Premium asks the rate source for: the selected state and
// county and the commodity code of each report row in use.
struct PremiumRateKeys {
    int stateCode = 0;
    int countyCode = 0;
    std::vector<double> codes;
};
PremiumRateKeys premiumRateKeys(const Worksheet& ws);

// What one Calculate Premium did. Exactly one of: a stop of the arithmetic
// (`stop`), no rate file (`rateFileMissing`), a rate file that could not be
// read (`rateFileError`), or the figures it wrote (`figures`, whose warnings
// were shown).
struct PremiumOutcome {
    std::optional<PremiumStop> stop;
    bool rateFileMissing = false;
    std::optional<RateFileError> rateFileError;
    std::optional<PremiumFigures> figures;
    // The rate file it read, when it got as far as reading rates.
    std::optional<RateFileUse> rateFile;
    // A chosen rate file that was passed over because it is gone.
    std::optional<std::string> chosenRateFileGone;

    bool calculated() const { return figures.has_value(); }
};

// Why figures priced from `use` are not a quote, in the user's words: a rate
// file without a valid record, or commodities it has no record for (each
// priced at rate 0, so the premium is too low and a livestock row may not
// count as livestock). Empty when every commodity found its record.
std::string notAQuoteText(const Worksheet& ws, const RateFileUse& use);
// The sentence for commodities without a record, each named as `rows` gives
// it, in `county` (empty when none is selected).
std::string unratedSentence(const std::string& path, const std::vector<std::string>& rows, const std::string& county);

// Calculate Premium: looks up the county's rates of every commodity and
// fills the page-9 premium table for every coverage level (kCoverageLevels),
// with the allowable KBT, the commodity count, the two eligibility
// results and the levels offered. The rates come from `rates`.
PremiumOutcome command4Click(Worksheet& ws, Platform& platform, RateSource& rates);
// The same with the window's source: the rate file, read for this premium.
PremiumOutcome command4Click(Worksheet& ws, Platform& platform);

}  // namespace kbt2
