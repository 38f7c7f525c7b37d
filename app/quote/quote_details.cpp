#include "app/quote/quote_details.h"

#include <filesystem>

#include "app/json/json_writer.h"
#include "calc/numbers.h"

namespace kbt2::quote {
namespace {

std::string threeNumbers(const std::array<double, 3>& values) {
    return "[" + plainText(values[0]) + "," + plainText(values[1]) + "," + plainText(values[2]) + "]";
}

std::string commodityJson(const SummaryCommodity& c) {
    return json::Object()
        .number("row", c.row)
        .text("name", c.name)
        .number("code", numericValue(c.code))
        .number("kbt", c.kbt)
        .number("share", c.share)
        .flag("livestock", c.livestock)
        .flag("insurable", c.insurable)
        .raw("record_line", c.recordLine ? std::to_string(*c.recordLine) : "null")
        .raw("rates", threeNumbers(c.rates))
        .raw("weighted", threeNumbers(c.weighted))
        .done();
}

std::string levelJson(const SummaryLevel& l) {
    return json::Object()
        .text("coverage", l.coverage)
        .flag("offered", l.offered)
        .number("indemnity_threshold", l.indemnityThreshold)
        .number("weighted_rate", l.weightedRate)
        .number("kbt_rate", l.kbtRate)
        .number("kbt_liability", l.kbtLiability)
        .number("net_kbt_liability", l.netKbtLiability)
        .number("gross_premium", l.grossPremium)
        .number("subsidy", l.subsidy)
        .number("producer_premium", l.producerPremium)
        .done();
}

}  // namespace

std::string detailsJson(const QuoteSummary& s) {
    const SummaryRateFile& file = s.rateFile;
    return json::Object()
        .number("average_income", s.averageIncome)
        .number("projected_kbt", s.projectedKbt)
        .number("total_expected_kbt", s.totalExpectedKbt)
        .number("allowable_kbt", s.allowableKbt)
        .number("mpci", s.mpci)
        .raw("commodities", json::arrayOf(s.commodities, commodityJson))
        .number("equal_share", s.equalShare)
        .number("deviation_sum", s.deviationSum)
        .number("significance_threshold", s.significanceThreshold)
        .number("significant_count", s.significantCount)
        .number("livestock_share", s.livestockShare)
        .number("livestock_or_insurable_share", s.livestockOrInsurableShare)
        .text("diversification_factor", s.diversificationFactor)
        .raw("levels", json::arrayOf(s.levels, levelJson))
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
    const std::string name = std::filesystem::path(worksheet).stem().string();
    std::string file = name + ".pdf";
    for (unsigned n = 2; !given_.insert(file).second; ++n) file = name + "-" + std::to_string(n) + ".pdf";
    return (std::filesystem::path(folder_) / file).string();
}

}  // namespace kbt2::quote
