#include "app/quote/county_rates.h"

#include <algorithm>
#include <functional>

#include "calc/rate_record_scan.h"
#include "location/states.h"

namespace kbt2::quote {

using namespace rate_records;

size_t CountyRateTable::KeyHash::operator()(const Key& k) const {
    const std::hash<double> h;
    return h(k.state) * 1000003u ^ h(k.county) * 8191u ^ h(k.code);
}

class CountyRateTable::Matcher {
public:
    explicit Matcher(CountyRateTable& table) : table_(table) {}

    void record(const char* line) {
        ++line_;
        // Most records of a national file are in none of the states and are
        // passed over after one column.
        const double state = columnValue(line, kState);
        if (std::find(table_.states_.begin(), table_.states_.end(), state) == table_.states_.end()) return;
        const double county = columnValue(line, kCounty);
        if (std::find(table_.counties_.begin(), table_.counties_.end(), county) == table_.counties_.end()) return;
        if (table_.overflowed_) return;
        Row& row = table_.rows_[Key{state, county, columnValue(line, kCommodity)}];
        row = Row{ratesOf(line), line_};
        if (table_.rows_.size() > table_.maxRows_) {
            table_.overflowed_ = true;
            table_.rows_.clear();
        }
    }

private:
    CountyRateTable& table_;
    std::uint64_t line_ = 0;
};

CountyRateTable::CountyRateTable(size_t maxRows) : states_{0}, counties_{0}, maxRows_(maxRows) {
    for (const StateInfo& state : states()) states_.push_back(state.code);
    for (const CountyInfo& county : counties())
        if (std::find(counties_.begin(), counties_.end(), county.code) == counties_.end())
            counties_.push_back(county.code);
}

std::optional<RateFileError> CountyRateTable::read(const std::string& path) {
    Matcher matcher(*this);
    return scan(path, kRateFileBlockSize, matcher, records_);
}

std::vector<CommodityRates> CountyRateTable::rates(double stateCode, double countyCode,
                                                   std::span<const double> codes) const {
    std::vector<CommodityRates> rows;
    rows.reserve(codes.size());
    for (const double code : codes) {
        const auto row = rows_.find(Key{stateCode, countyCode, code});
        rows.push_back(row != rows_.end() ? row->second.rates : CommodityRates{});
    }
    return rows;
}

std::optional<std::uint64_t> CountyRateTable::line(double stateCode, double countyCode, double code) const {
    const auto row = rows_.find(Key{stateCode, countyCode, code});
    if (row == rows_.end()) return std::nullopt;
    return row->second.line;
}

SourcedRates CountyRateSource::ratesFor(Platform& /*platform*/, double stateCode, double countyCode,
                                        std::span<const double> codes) {
    SourcedRates sourced;
    sourced.path = path_;
    if (!path_) return sourced;
    sourced.lookup.error = error_;
    if (error_) return sourced;
    sourced.lookup.rows = table_.rates(stateCode, countyCode, codes);
    sourced.lookup.records = table_.records();
    return sourced;
}

}  // namespace kbt2::quote
