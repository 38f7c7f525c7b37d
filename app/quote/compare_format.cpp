#include "app/quote/compare_format.h"

#include <charconv>
#include <string_view>

#include "app/json/json_writer.h"
#include "app/quote/quote_format.h"
#include "calc/numbers.h"
#include "commands/premium_warnings.h"

namespace kbt2::quote {
namespace {

constexpr size_t kProducerPremium = figureIndex("producer_premium");
constexpr size_t kGrossPremium = figureIndex("gross_premium");
constexpr size_t kWeightedRate = figureIndex("weighted_rate");
constexpr size_t kDiversificationFactor = figureIndex("diversification_factor");

bool hasWarning(const WorksheetQuote& quote, std::string_view name) {
    for (const std::string& w : quote.warnings)
        if (w == name) return true;
    return false;
}

std::string figureOf(const LevelQuote* level, size_t index) {
    return level ? csvField(level->figures[index]) : std::string();
}

// The change in per cent of the old premium, to one decimal rounded half
// up; empty when there is no old premium to compare with.
std::string percentChange(const LevelPair& level) {
    const double before = producerPremiumOf(level.before);
    if (before == 0) return {};
    const double percent = changeInPercent(before, producerPremiumOf(level.after));
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
        return head + ",,,,,,,,,,," + csvText(after.scenario) + std::string(kCsvLineEnd);
    }
    head += ",ok,," + csvText(after.producer) + "," + csvText(after.county) + ",";
    const std::vector<LevelPair> levels = levelPairs(compared);
    if (levels.empty())
        return head + ",,,,,,,,," + csvText(changesAt(compared, {"", nullptr, nullptr})) + "," +
               csvText(after.scenario) + std::string(kCsvLineEnd);
    std::string lines;
    for (const LevelPair& level : levels) {
        lines += head + level.coverage;
        lines += "," + figureOf(level.before, kProducerPremium) + "," + figureOf(level.after, kProducerPremium);
        lines += "," + plainText(premiumChange(level)) + "," + percentChange(level);
        lines += "," + figureOf(level.before, kGrossPremium) + "," + figureOf(level.after, kGrossPremium);
        lines += "," + figureOf(level.before, kWeightedRate) + "," + figureOf(level.after, kWeightedRate);
        lines += "," + csvText(changesAt(compared, level)) + "," + csvText(after.scenario) + std::string(kCsvLineEnd);
    }
    return lines;
}

// A record as the JSON lines give it; its line is null when none matched.
std::string jsonRecord(const CommodityRates& rates) {
    return json::Object()
        .flag("found", rates.found)
        .raw("rates", json::arrayOf(rates.rates, [](double rate) { return json::escaped(plainText(rate)); }))
        .text("livestock", std::string(1, rates.livestockFlag))
        .text("insurable", std::string(1, rates.insurableFlag))
        .raw("line", rates.found ? std::to_string(rates.line) : "null")
        .done();
}

std::string recordChangeJson(const RecordChange& change) {
    return json::Object()
        .text("code", plainText(change.code))
        .raw("old", jsonRecord(change.before))
        .raw("new", jsonRecord(change.after))
        .done();
}

std::string jsonLine(const ComparedQuote& compared, const TableNames& tables) {
    const WorksheetQuote& after = compared.after;
    const bool error = failed(compared);
    return json::Object()
               .text("file", after.file)
               .text("status", error ? "error" : "ok")
               .text("message", error ? errorMessage(compared, tables) : "")
               .text("producer", after.producer.empty() ? compared.before.producer : after.producer)
               .text("county", after.county.empty() ? compared.before.county : after.county)
               .text("scenario", after.scenario)
               .flag("changed", !unchanged(compared))
               .raw("old", jsonObject(compared.before))
               .raw("new", jsonObject(after))
               .raw("records", json::arrayOf(compared.records, recordChangeJson))
               .done() +
           "\n";
}

}  // namespace

std::string compareHeaderOf(OutputFormat format) {
    if (format == OutputFormat::Jsonl) return {};
    return "file,status,message,producer,county,coverage,old_producer_premium,new_producer_premium,change,change_"
           "percent,"
           "old_gross_premium,new_gross_premium,old_weighted_rate,new_weighted_rate,changes,scenario" +
           std::string(kCsvLineEnd);
}

std::string compareLinesOf(const ComparedQuote& compared, const TableNames& tables, OutputFormat format) {
    return format == OutputFormat::Csv ? csvLines(compared, tables) : jsonLine(compared, tables);
}

}  // namespace kbt2::quote
