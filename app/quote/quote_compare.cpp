#include "app/quote/quote_compare.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "app/quote/quote_format.h"
#include "calc/numbers.h"
#include "commands/premium_warnings.h"

namespace kbt2::quote {
namespace {

constexpr size_t kProducerPremium = figureIndex("producer_premium");
constexpr size_t kGrossPremium = figureIndex("gross_premium");
constexpr size_t kWeightedRate = figureIndex("weighted_rate");
constexpr size_t kDiversificationFactor = figureIndex("diversification_factor");

// A rate source that passes every question on and keeps the rows it gave,
// so the comparison can say which records differ.
class RecordingSource final : public RateSource {
public:
    explicit RecordingSource(RateSource& inner) : inner_(inner) {}
    SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                          std::span<const double> codes) override {
        SourcedRates sourced = inner_.ratesFor(platform, stateCode, countyCode, codes);
        codes_.assign(codes.begin(), codes.end());
        rows_ = sourced.lookup.rows;
        return sourced;
    }
    const std::vector<double>& codes() const { return codes_; }
    const std::vector<CommodityRates>& rows() const { return rows_; }

private:
    RateSource& inner_;
    std::vector<double> codes_;
    std::vector<CommodityRates> rows_;
};

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

bool hasWarning(const WorksheetQuote& quote, std::string_view name) {
    for (const std::string& w : quote.warnings)
        if (w == name) return true;
    return false;
}

std::string figureOf(const LevelQuote* level, size_t index) {
    return level ? csvField(level->figures[index]) : std::string();
}

double premiumOf(const LevelQuote* level) { return level ? numericValue(level->figures[kProducerPremium]) : 0; }

// The change in per cent of the old premium, to one decimal rounded half
// up; empty when there is no old premium to compare with.
std::string percentChange(const LevelPair& level) {
    const double before = premiumOf(level.before);
    if (before == 0) return {};
    const double percent = std::floor((premiumOf(level.after) - before) / std::fabs(before) * 1000 + 0.5) / 10 + 0.0;
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, percent, std::chars_format::fixed, 1);
    return std::string(text, written.ptr);
}

// What else moved at this level besides the premium, `;`-separated.
std::string changesAt(const ComparedQuote& compared, const LevelPair& level) {
    std::string names;
    const auto add = [&names](const char* name) { names += (names.empty() ? "" : ";") + std::string(name); };
    if (!level.before && level.after) add("level-offered");
    if (level.before && !level.after) add("level-withdrawn");
    for (const PremiumWarningTexts& warning : kPremiumWarningTexts)
        if (hasWarning(compared.before, warning.token) != hasWarning(compared.after, warning.token))
            add(warning.change);
    if (level.before && level.after) {
        if (level.before->figures[kDiversificationFactor] != level.after->figures[kDiversificationFactor])
            add("factor");
        if (level.before->figures[kWeightedRate] != level.after->figures[kWeightedRate]) add("rates");
    }
    return names;
}

// The error of a comparison, naming the table it came under; a worksheet
// that stops alike under both (it does not load, a check fails) is the
// worksheet's own error and keeps its message as it stands.
std::string errorMessage(const ComparedQuote& compared, const TableNames& tables) {
    const WorksheetQuote& before = compared.before;
    const WorksheetQuote& after = compared.after;
    if (!before.ok && !after.ok && before.message == after.message) return before.message;
    std::string message;
    if (!before.ok) message = "under the old rate table " + tables.before + ": " + before.message;
    if (!after.ok)
        message += (message.empty() ? "" : "; ") + ("under the new rate table " + tables.after + ": " + after.message);
    return message;
}

std::string csvLines(const ComparedQuote& compared, const TableNames& tables) {
    const WorksheetQuote& after = compared.after;
    std::string head = csvText(after.file);
    if (failed(compared)) {
        head += ",error," + csvText(oneLine(errorMessage(compared, tables))) + "," +
                csvText(after.producer.empty() ? compared.before.producer : after.producer) + "," +
                csvText(after.county.empty() ? compared.before.county : after.county);
        return head + ",,,,,,,,,," + std::string(kCsvLineEnd);
    }
    head += ",ok,," + csvText(after.producer) + "," + csvText(after.county) + ",";
    const std::vector<LevelPair> levels = levelPairs(compared);
    if (levels.empty())
        return head + ",,,,,,,,," + csvText(changesAt(compared, {"", nullptr, nullptr})) + std::string(kCsvLineEnd);
    std::string lines;
    for (const LevelPair& level : levels) {
        lines += head + level.coverage;
        lines += "," + figureOf(level.before, kProducerPremium) + "," + figureOf(level.after, kProducerPremium);
        lines += "," + plainText(premiumChange(level)) + "," + percentChange(level);
        lines += "," + figureOf(level.before, kGrossPremium) + "," + figureOf(level.after, kGrossPremium);
        lines += "," + figureOf(level.before, kWeightedRate) + "," + figureOf(level.after, kWeightedRate);
        lines += "," + csvText(changesAt(compared, level)) + std::string(kCsvLineEnd);
    }
    return lines;
}

// A record as the JSON lines give it; its line is null when none matched.
std::string jsonRecord(const CommodityRates& rates) {
    std::string json = std::string("{\"found\":") + (rates.found ? "true" : "false") + ",\"rates\":[";
    for (size_t j = 0; j < rates.rates.size(); ++j) json += (j ? "," : "") + jsonString(plainText(rates.rates[j]));
    json += "],\"livestock\":" + jsonString(std::string(1, rates.livestockFlag)) +
            ",\"insurable\":" + jsonString(std::string(1, rates.insurableFlag));
    return json + ",\"line\":" + (rates.found ? std::to_string(rates.line) : "null") + "}";
}

std::string jsonLine(const ComparedQuote& compared, const TableNames& tables) {
    const WorksheetQuote& after = compared.after;
    const bool error = failed(compared);
    std::string line =
        "{\"file\":" + jsonString(after.file) + ",\"status\":" + (error ? "\"error\"" : "\"ok\"") +
        ",\"message\":" + jsonString(error ? errorMessage(compared, tables) : "") +
        ",\"producer\":" + jsonString(after.producer.empty() ? compared.before.producer : after.producer) +
        ",\"county\":" + jsonString(after.county.empty() ? compared.before.county : after.county) +
        ",\"changed\":" + (unchanged(compared) ? "false" : "true") + ",\"old\":" + jsonObject(compared.before) +
        ",\"new\":" + jsonObject(after) + ",\"records\":[";
    for (size_t i = 0; i < compared.records.size(); ++i) {
        const RecordChange& r = compared.records[i];
        line += std::string(i ? "," : "") + "{\"code\":" + jsonString(plainText(r.code)) +
                ",\"old\":" + jsonRecord(r.before) + ",\"new\":" + jsonRecord(r.after) + "}";
    }
    return line + "]}\n";
}

}  // namespace

ComparedQuote compareWorksheet(const std::string& path, RateSource& before, RateSource& after, bool withDetails) {
    RecordingSource recordedBefore(before);
    RecordingSource recordedAfter(after);
    RateSource* const sources[] = {&recordedBefore, &recordedAfter};
    std::vector<WorksheetQuote> quotes = quoteWorksheetUnder(path, sources, withDetails);
    quotes[0].details.reset();
    ComparedQuote compared{std::move(quotes[0]), std::move(quotes[1]), {}};
    compared.records = changedRecords(recordedBefore, recordedAfter);
    return compared;
}

ComparedQuote failedComparison(const std::string& path, const std::string& message) {
    return {failedQuote(path, message), failedQuote(path, message), {}};
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

std::vector<LastQuoteLevel> lastQuoteOf(const ComparedQuote& compared) {
    std::vector<LastQuoteLevel> levels;
    const auto premium = [](const LevelQuote* level) {
        return level ? std::optional<double>(premiumOf(level)) : std::nullopt;
    };
    for (const LevelPair& pair : levelPairs(compared))
        levels.push_back({pair.coverage, premium(pair.before), premium(pair.after)});
    return levels;
}

double premiumChange(const LevelPair& level) { return roundWhole(premiumOf(level.after) - premiumOf(level.before)); }

std::string compareHeaderOf(OutputFormat format) {
    if (format == OutputFormat::Jsonl) return {};
    return "file,status,message,producer,county,coverage,old_producer_premium,new_producer_premium,change,change_"
           "percent,"
           "old_gross_premium,new_gross_premium,old_weighted_rate,new_weighted_rate,changes" +
           std::string(kCsvLineEnd);
}

std::string compareLinesOf(const ComparedQuote& compared, const TableNames& tables, OutputFormat format) {
    return format == OutputFormat::Csv ? csvLines(compared, tables) : jsonLine(compared, tables);
}

}  // namespace kbt2::quote
