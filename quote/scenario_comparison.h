#pragma once
// The scenarios of a case side by side: for each one a fresh calculation of
// its worksheet as it stands, what differs from the base in words, each
// coverage level's guarantee and premium with the cheapest guarantee per
// dollar marked and the levels a change opened or closed named, and for the
// current scenario what the count rule needs to open the next level.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "commands/case.h"
#include "quote/language.h"
#include "quote/quote_summary.h"
#include "rates/rate_source.h"
#include "worksheet/platform.h"
#include "worksheet/premium_rows.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// A level against the base's same level.
enum class LevelChange { Same, Opened, Closed };

struct ComparedLevel {
    std::string coverage;  // its caption in kCoverageLevels
    bool offered = false;
    double guarantee = 0;  // the indemnity threshold
    double producerPremium = 0;
    double perThousand = 0;  // producer premium per $1,000 of guarantee
    bool cheapest = false;   // the least premium per $1,000 of any offered level
    LevelChange change = LevelChange::Same;
};

struct ComparedScenario {
    std::string name;
    bool current = false;
    bool forPaper = false;
    // What differs from the base, one phrase each; empty for the base.
    std::vector<std::string> differences;
    std::optional<QuoteSummary> summary;                // nothing when the premium stopped
    std::string problem;                                // the message that stopped it
    std::array<ComparedLevel, kPremiumColumns> levels;  // filled only with a summary
};

// The least premium per $1,000 of guarantee, in cents as shown, of the
// offered levels of `scenarios` (infinite when none); and whether a level is
// at it. Levels shown alike are marked alike.
double cheapestShownCents(const std::vector<const ComparedScenario*>& scenarios);
bool atCheapest(const ComparedLevel& level, double cheapestCents);

// What the count rule needs for the next level, in words and the farm's
// figures; no level when every level is offered already.
struct NextLevelAdvice {
    std::optional<std::string> coverage;  // a caption of kCoverageLevels
    int needed = 0;                       // commodities that must count
    std::string words;
};

struct ScenarioComparison {
    std::vector<ComparedScenario> scenarios;  // in the case's order
    std::optional<NextLevelAdvice> advice;    // of the current one, when it has a premium
};

// Calculates every scenario of the case afresh (as Premium Details does),
// with the rate file `platform` finds, read through `rates`.
// The words of what differs are in `language` (the farmer's paper may want
// them in Spanish).
ScenarioComparison compareScenarios(const Case& scenarios, Platform& platform, RateSource& rates,
                                    Language language = Language::English);

// What differs in `other` from `base`, in words: commodities added, removed
// or changed (by name, in the order of the report), incomes, expenses, the
// MPCI liability and the county.
std::vector<std::string> differencesFromBase(const Worksheet& base, const Worksheet& other,
                                             Language language = Language::English);

// The next level the count rule would offer this premium, and how far the
// farm is from it.
NextLevelAdvice nextLevelAdvice(const QuoteSummary& summary);

// A free scenario name for trying `advice`'s level: "Try .80", else
// "Try .80 (2)" and so on.
std::string tryName(const Case& scenarios, const NextLevelAdvice& advice);

// The comparison as a table of texts, a heading per row and a column per
// scenario, for the view to lay out.
struct ComparisonTable {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> columns;  // one text per heading
};
ComparisonTable comparisonTable(const ScenarioComparison& comparison);

}  // namespace kbt2
