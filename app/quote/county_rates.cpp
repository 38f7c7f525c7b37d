#include "app/quote/county_rates.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "calc/rate_record_scan.h"
#include "location/states.h"

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

}  // namespace

size_t CountyRateTable::KeyHash::operator()(const Key& k) const {
    return mixed(k.code, mixed(k.county, mixed(k.state, 0x9e3779b97f4a7c15u)));
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

const CountyRateTable::Row* CountyRateTable::find(double stateCode, double countyCode, double code) const {
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
        const Row* row = find(stateCode, countyCode, code);
        rows.push_back(row ? row->rates : CommodityRates{});
    }
    return rows;
}

std::optional<std::uint64_t> CountyRateTable::line(double stateCode, double countyCode, double code) const {
    const Row* row = find(stateCode, countyCode, code);
    if (!row) return std::nullopt;
    return row->line;
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
