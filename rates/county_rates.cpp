#include "rates/county_rates.h"

#include <algorithm>
#include <functional>

#include "location/states.h"
#include "rates/rate_record_scan.h"

namespace kbt2::quote {

using namespace rate_records;

namespace {

// Whether a key column holds one of `values`: a column of digits and blanks,
// nearly every one of a real file, is looked up in a table of its whole
// numbers; any other goes through the column's numeric value.
class KeyFilter {
public:
    KeyFilter(Column column, const std::vector<double>& values) : column_(column), values_(values) {
        int largest = 1;
        for (size_t k = 0; k < column.width; ++k) largest *= 10;
        wanted_.assign(static_cast<size_t>(largest), false);
        for (const double v : values)
            if (v >= 0 && v < largest && v == static_cast<int>(v)) wanted_[static_cast<size_t>(v)] = true;
    }
    bool passes(const char* record) const {
        const int whole = digitsValue(record, column_);
        if (whole >= 0) return wanted_[static_cast<size_t>(whole)];
        return std::find(values_.begin(), values_.end(), columnValue(record, column_)) != values_.end();
    }

private:
    Column column_;
    const std::vector<double>& values_;
    std::vector<bool> wanted_;
};

}  // namespace

class CountyRateTable::Matcher {
public:
    explicit Matcher(CountyRateTable& table)
        : table_(table), states_(kState, table.states_), counties_(kCounty, table.counties_) {}

    void record(const char* line, std::uint64_t number) {
        // Most records of a national file are in none of the states and are
        // passed over after one column.
        if (!states_.passes(line) || !counties_.passes(line) || table_.overflowed_) return;
        const double state = columnValue(line, kState);
        const double county = columnValue(line, kCounty);
        auto place = std::find_if(table_.places_.begin(), table_.places_.end(),
                                  [&](const Place& p) { return p.state == state && p.county == county; });
        if (place == table_.places_.end()) place = table_.places_.insert(place, Place{state, county, {}, {}});
        const auto [row, added] = place->reading.insert_or_assign(columnValue(line, kCommodity), ratesOf(line, number));
        if (added && ++rows_ > table_.maxRows_) {
            table_.overflowed_ = true;
            table_.places_.clear();
        }
    }

private:
    CountyRateTable& table_;
    KeyFilter states_;
    KeyFilter counties_;
    size_t rows_ = 0;
};

CountyRateTable::CountyRateTable(size_t maxRows) : states_{0}, counties_{0}, maxRows_(maxRows) {
    for (const StateInfo& state : states()) states_.push_back(state.code);
    for (const CountyInfo& county : counties())
        if (std::find(counties_.begin(), counties_.end(), county.code) == counties_.end())
            counties_.push_back(county.code);
}

std::optional<RateFileError> CountyRateTable::read(const std::string& path) {
    Matcher matcher(*this);
    std::optional<RateFileError> error = scan(path, kRateFileBlockSize, matcher, contents_);
    for (Place& place : places_) {
        for (const auto& [code, row] : place.reading) place.rows.push_back({code, row});
        place.reading = {};
        std::sort(place.rows.begin(), place.rows.end(), [](const Coded& a, const Coded& b) { return a.code < b.code; });
    }
    return error;
}

const CommodityRates* CountyRateTable::find(double stateCode, double countyCode, double code) const {
    for (const Place& place : places_) {
        if (place.state != stateCode || place.county != countyCode) continue;
        const auto at = std::lower_bound(place.rows.begin(), place.rows.end(), code,
                                         [](const Coded& c, double wanted) { return c.code < wanted; });
        return at != place.rows.end() && at->code == code ? &at->row : nullptr;
    }
    return nullptr;
}

std::vector<CommodityRates> CountyRateTable::rates(double stateCode, double countyCode,
                                                   std::span<const double> codes) const {
    std::vector<CommodityRates> rows;
    rows.reserve(codes.size());
    for (const double code : codes) {
        const CommodityRates* row = find(stateCode, countyCode, code);
        rows.push_back(row ? *row : CommodityRates{});
    }
    return rows;
}

}  // namespace kbt2::quote
