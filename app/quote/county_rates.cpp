#include "app/quote/county_rates.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "location/states.h"
#include "rates/rate_record_scan.h"

namespace kbt2::quote {

using namespace rate_records;

namespace {

// The bits of a value, 0 and -0 alike (they are the same key), mixed so that
// keys of small whole numbers spread over every bucket.
std::uint64_t mixed(double value, std::uint64_t seed) {
    std::uint64_t x = std::bit_cast<std::uint64_t>(value == 0 ? 0.0 : value) + seed;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
    return x ^ (x >> 31);
}

// The value of a column of digits and blanks as a whole number, or -1 for
// any other column: the blanks are passed over, as the column's numeric value
// passes them.
int digitsValue(const char* record, Column column) {
    int value = 0;
    for (size_t k = 0; k < column.width; ++k) {
        const char c = record[column.at + k];
        if (c >= '0' && c <= '9')
            value = value * 10 + (c - '0');
        else if (c != ' ')
            return -1;
    }
    return value;
}

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

size_t CountyRateTable::KeyHash::operator()(const Key& k) const {
    return mixed(k.code, mixed(k.county, mixed(k.state, 0x9e3779b97f4a7c15u)));
}

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
        table_.rows_[Key{state, county, columnValue(line, kCommodity)}] = ratesOf(line, number);
        if (table_.rows_.size() > table_.maxRows_) {
            table_.overflowed_ = true;
            table_.rows_.clear();
        }
    }

private:
    CountyRateTable& table_;
    KeyFilter states_;
    KeyFilter counties_;
};

CountyRateTable::CountyRateTable(size_t maxRows) : states_{0}, counties_{0}, maxRows_(maxRows) {
    for (const StateInfo& state : states()) states_.push_back(state.code);
    for (const CountyInfo& county : counties())
        if (std::find(counties_.begin(), counties_.end(), county.code) == counties_.end())
            counties_.push_back(county.code);
}

std::optional<RateFileError> CountyRateTable::read(const std::string& path) {
    Matcher matcher(*this);
    std::optional<RateFileError> error = scan(path, kRateFileBlockSize, matcher, records_);
    for (const auto& [key, row] : rows_) {
        auto place = std::find_if(places_.begin(), places_.end(),
                                  [&key](const Place& p) { return p.state == key.state && p.county == key.county; });
        if (place == places_.end()) place = places_.insert(places_.end(), Place{key.state, key.county, {}});
        place->rows.push_back({key.code, row});
    }
    for (Place& place : places_)
        std::sort(place.rows.begin(), place.rows.end(), [](const Coded& a, const Coded& b) { return a.code < b.code; });
    rows_ = {};
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
