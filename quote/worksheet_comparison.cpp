#include "quote/worksheet_comparison.h"

#include "calc/numbers.h"
#include "rates/recording_source.h"

namespace kbt2::quote {
namespace {

constexpr size_t kProducerPremium = figureIndex("producer_premium");

bool sameRecord(const CommodityRates& a, const CommodityRates& b) {
    return a.found == b.found && a.rates == b.rates && a.livestockFlag == b.livestockFlag &&
           a.insurableFlag == b.insurableFlag;
}

// The commodities whose rows differ, each code once; none when either
// premium got no rows.
std::vector<RecordChange> changedRecords(const RecordingSource& before, const RecordingSource& after) {
    std::vector<RecordChange> changes;
    if (before.codes() != after.codes() || before.rows().size() != before.codes().size() ||
        after.rows().size() != after.codes().size())
        return changes;
    for (size_t i = 0; i < before.codes().size(); ++i) {
        const double code = before.codes()[i];
        bool seen = false;
        for (const RecordChange& c : changes) seen = seen || c.code == code;
        if (seen || sameRecord(before.rows()[i], after.rows()[i])) continue;
        changes.push_back({code, before.rows()[i], after.rows()[i]});
    }
    return changes;
}

bool sameLevels(const std::vector<LevelQuote>& a, const std::vector<LevelQuote>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].coverage != b[i].coverage || a[i].figures != b[i].figures) return false;
    return true;
}

}  // namespace

ComparedQuote compareWorksheet(const std::string& path, RateSource& before, RateSource& after, bool withDetails) {
    RecordingSource recordedBefore(before);
    RecordingSource recordedAfter(after);
    RateSource* const sources[] = {&recordedBefore, &recordedAfter};
    std::vector<WorksheetQuote> quotes = quoteWorksheetUnder(path, sources, withDetails);
    EarlierPremium earlier;
    if (quotes[0].details) {
        for (const PremiumRow& row : quotes[0].details->premium.rows) earlier.rates.push_back(row.rates);
        earlier.diversificationFactor = quotes[0].details->premium.diversificationFactor;
    }
    quotes[0].details.reset();
    ComparedQuote compared{std::move(quotes[0]), std::move(quotes[1]), {}, std::move(earlier)};
    compared.records = changedRecords(recordedBefore, recordedAfter);
    return compared;
}

ComparedQuote failedComparison(const std::string& path, const std::string& message) {
    return {failedQuote(path, message), failedQuote(path, message), {}, {}};
}

bool unchanged(const ComparedQuote& compared) {
    const WorksheetQuote& a = compared.before;
    const WorksheetQuote& b = compared.after;
    return a.ok == b.ok && a.message == b.message && a.warnings == b.warnings && sameLevels(a.levels, b.levels) &&
           a.totals == b.totals;
}

bool failed(const ComparedQuote& compared) { return !compared.before.ok || !compared.after.ok; }

std::vector<LevelPair> levelPairs(const ComparedQuote& compared) {
    std::vector<LevelPair> pairs;
    const auto levelOf = [](const WorksheetQuote& quote, const char* coverage) -> const LevelQuote* {
        for (const LevelQuote& level : quote.levels)
            if (level.coverage == coverage) return &level;
        return nullptr;
    };
    for (const char* coverage : kCoverageCaptions) {
        const LevelPair pair{coverage, levelOf(compared.before, coverage), levelOf(compared.after, coverage)};
        if (pair.before || pair.after) pairs.push_back(pair);
    }
    return pairs;
}

double producerPremiumOf(const LevelQuote* level) { return level ? numericValue(level->figures[kProducerPremium]) : 0; }

LastQuote lastQuoteOf(const ComparedQuote& compared) {
    LastQuote last{{}, compared.earlier.rates, compared.earlier.diversificationFactor};
    const auto premium = [](const LevelQuote* level) {
        return level ? std::optional<double>(producerPremiumOf(level)) : std::nullopt;
    };
    for (const LevelPair& pair : levelPairs(compared))
        last.levels.push_back({pair.coverage, premium(pair.before), premium(pair.after)});
    return last;
}

double premiumChange(const LevelPair& level) {
    return roundWhole(producerPremiumOf(level.after) - producerPremiumOf(level.before));
}

}  // namespace kbt2::quote
