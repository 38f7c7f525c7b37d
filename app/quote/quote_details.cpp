#include "app/quote/quote_details.h"

#include <filesystem>

#include "app/json/json_writer.h"
#include "calc/numbers.h"
#include "commands/case_file.h"
#include "quote/quote_worksheet.h"

namespace kbt2::quote {
namespace {

// "[0.052,0.041,0.03]": a value per coverage level, in column order.
std::string levelNumbers(const LevelValues& values) {
    json::Array array;
    for (const double value : values) array.number(value);
    return array.done();
}

std::string commodityJson(const QuoteSummary& s, size_t row) {
    const SummaryCommodity& c = s.commodities[row];
    const PremiumRow& figures = s.premium.rows[row];
    return json::Object()
        .number("row", static_cast<double>(row))
        .text("name", c.name)
        .number("code", numericValue(c.code))
        .number("kbt", figures.kbt)
        .number("share", figures.share)
        .flag("livestock", figures.livestock)
        .flag("insurable", figures.insurable)
        .raw("record_line", c.recordLine ? std::to_string(*c.recordLine) : "null")
        .raw("rates", levelNumbers(figures.rates))
        .raw("weighted", levelNumbers(figures.weighted))
        .done();
}

std::string commoditiesJson(const QuoteSummary& s) {
    json::Array array;
    for (size_t row = 0; row < s.commodities.size() && row < s.premium.rows.size(); ++row)
        array.raw(commodityJson(s, row));
    return array.done();
}

// A level's figures under the names of kLevelColumnNames, but for the
// factor: the run gives it once, the same at every level.
std::string levelJson(const SummaryLevel& level) {
    json::Object json;
    json.text("coverage", level.coverage).flag("offered", level.figures.offered);
    for (size_t k = 0; k < std::size(kLevelColumnNames); ++k)
        if (k != figureIndex("diversification_factor")) json.number(kLevelColumnNames[k], level.figures.figures[k]);
    return json.done();
}

}  // namespace

std::string detailsJson(const QuoteSummary& summary) {
    const PremiumFigures& s = summary.premium;
    const SummaryRateFile& file = summary.rateFile;
    return json::Object()
        .number("average_income", s.averageIncome)
        .number("projected_kbt", s.projectedKbt)
        .number("total_expected_kbt", s.totalExpectedKbt)
        .number("allowable_kbt", s.allowableKbt)
        .number("mpci", s.mpciLiability)
        .raw("commodities", commoditiesJson(summary))
        .number("equal_share", s.equalShare)
        .number("deviation_sum", s.deviationSum)
        .number("significance_threshold", s.threshold)
        .number("significant_count", s.significantCount)
        .number("livestock_share", s.livestockShare)
        .number("livestock_or_insurable_share", s.livestockOrInsurableShare)
        .text("diversification_factor", plainText(s.diversificationFactor))
        .raw("levels", json::arrayOf(summaryLevels(summary), levelJson))
        .raw("rate_file", json::Object()
                              .text("path", file.path)
                              .number("size", static_cast<double>(file.size))
                              .text("modified", file.modified)
                              .text("sha256", file.sha256)
                              .number("records", static_cast<double>(file.records))
                              .done())
        .done();
}

std::string SummaryNames::pathFor(const std::string& worksheet) {
    const std::filesystem::path path(worksheet);
    std::string name = path.stem().string();
    // A case's scenario is named after its case: "farm-02-hay-added.pdf".
    if (const std::string folder = path.parent_path().filename().string(); folder.ends_with(kScenarioFolderSuffix))
        name = std::filesystem::path(folder.substr(0, folder.size() - kScenarioFolderSuffix.size())).stem().string() +
               "-" + name;
    std::string file = name + ".pdf";
    for (unsigned n = 2; !given_.insert(file).second; ++n) file = name + "-" + std::to_string(n) + ".pdf";
    return (std::filesystem::path(folder_) / file).string();
}

}  // namespace kbt2::quote
