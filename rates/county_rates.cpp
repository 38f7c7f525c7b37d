#include "rates/county_rates.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "location/states.h"
#include "rates/rate_record_scan.h"

namespace kbt2::quote {

using namespace rate_records;

namespace {

// The codes a key column of digits and blanks can hold, 0 to 10^width - 1.
int wholeValues(Column column) {
    int values = 1;
    for (size_t k = 0; k < column.width; ++k) values *= 10;
    return values;
}

// A whole number within [0, limit), as an index; -1 for any other value.
int wholeIndex(double value, int limit) {
    return value >= 0 && value < limit && value == static_cast<int>(value) ? static_cast<int>(value) : -1;
}

// Whether a key column holds one of `values`: a column of digits and blanks,
// nearly every one of a real file, is looked up in a table of its whole
// numbers; any other goes through the column's numeric value.
class KeyFilter {
public:
    KeyFilter(Column column, const std::vector<double>& values)
        : column_(column), values_(values), limit_(wholeValues(column)) {
        wanted_.assign(static_cast<size_t>(limit_), 0);
        for (const double v : values)
            if (const int at = wholeIndex(v, limit_); at >= 0) wanted_[static_cast<size_t>(at)] = 1;
    }
    // Whether the column holds one of them, and then its value and its whole
    // number (-1 for none). (Not an optional: packing one and taking it apart
    // again stalled the scan of a table that is all the plan's on every record.)
    bool passes(const char* record, double& value, int& whole) const {
        whole = digitsValue(record, column_);
        if (whole >= 0) {
            value = whole;
            return wanted_[static_cast<size_t>(whole)] != 0;
        }
        value = columnValue(record, column_);
        whole = wholeIndex(value, limit_);
        return std::find(values_.begin(), values_.end(), value) != values_.end();
    }

private:
    Column column_;
    const std::vector<double>& values_;
    int limit_;
    std::vector<unsigned char> wanted_;  // not vector<bool>: one load, no bit to pick out
};

constexpr int kStates = 100;     // whole state codes, two digits
constexpr int kCounties = 1000;  // whole county codes, three digits
constexpr int kCodes = 10000;    // whole commodity codes, four digits

}  // namespace

// Keeps the last record of each key of the counties a worksheet can select:
// in the table, or for a later part of the file in places of its own until
// the earlier part's takes them.
class CountyRateTable::Matcher {
public:
    explicit Matcher(CountyRateTable& table)
        : table_(table),
          places_(&table.places_),
          states_(kState, table.states_),
          counties_(kCounty, table.counties_),
          placeOf_(static_cast<size_t>(kStates) * kCounties, -1) {}

    void record(const char* line, std::uint64_t number) {
        // Most records of a national file are in none of the states and are
        // passed over after one column.
        if (table_.overflowed_.load(std::memory_order_relaxed)) return;
        double state = 0;
        double county = 0;
        int s = -1;
        int c = -1;
        if (!states_.passes(line, state, s) || !counties_.passes(line, county, c)) return;
        Place& place = placeFor(state, county, s, c);
        const int whole = digitsValue(line, kCommodity);
        const double code = whole >= 0 ? whole : columnValue(line, kCommodity);
        Kept* kept = slotFor(place, code, whole >= 0 ? whole : wholeIndex(code, kCodes));
        if (!kept) return;
        kept->line = number;
        std::memcpy(kept->record, line, kRecordWidth);
    }

    Matcher laterPart() const {
        Matcher later(table_);
        later.own_ = std::make_unique<std::vector<Place>>();
        later.places_ = later.own_.get();
        return later;
    }

    // A record the later part kept is the last of its key in the file.
    void takeLater(Matcher& later, std::uint64_t linesBefore) {
        for (const Place& from : *later.places_) {
            if (table_.overflowed_.load(std::memory_order_relaxed)) break;
            Place& place =
                placeFor(from.state, from.county, wholeIndex(from.state, kStates), wholeIndex(from.county, kCounties));
            for (const Kept& record : from.kept) {
                Kept* kept = slotFor(place, record.code, wholeIndex(record.code, kCodes));
                if (!kept) break;
                *kept = record;
                kept->line += linesBefore;
            }
        }
        // Either part may have found the table full.
        if (table_.overflowed_.load(std::memory_order_relaxed)) places_->clear();
    }

private:
    // The place of a state and county (`s` and `c` their whole numbers, -1
    // for none), found once and then by its codes.
    Place& placeFor(double state, double county, int s, int c) {
        std::int32_t* known = s >= 0 && c >= 0 ? &placeOf_[static_cast<size_t>(s) * kCounties + c] : nullptr;
        if (known && *known >= 0) [[likely]]
            return (*places_)[static_cast<size_t>(*known)];
        return newPlace(state, county, known);
    }

    [[gnu::noinline]] Place& newPlace(double state, double county, std::int32_t* known) {
        auto& places = *places_;
        auto place = std::find_if(places.begin(), places.end(),
                                  [&](const Place& p) { return p.state == state && p.county == county; });
        if (place == places.end()) {
            place = places.insert(place, Place{state, county, {}, {}, std::vector<std::int32_t>(kCodes, -1), {}});
        }
        if (known) *known = static_cast<std::int32_t>(place - places.begin());
        return *place;
    }

    // Where the last record of a code is kept; nothing once the table is full.
    Kept* slotFor(Place& place, double code, int whole) {
        const size_t next = place.kept.size();
        if (whole >= 0) {
            std::int32_t& slot = place.slotOf[static_cast<size_t>(whole)];
            if (slot >= 0) return &place.kept[static_cast<size_t>(slot)];
            slot = static_cast<std::int32_t>(next);
        } else {
            const auto [at, added] = place.others.try_emplace(code, next);
            if (!added) return &place.kept[at->second];
        }
        if (++rows_ > table_.maxRows_) {
            table_.overflowed_.store(true, std::memory_order_relaxed);
            places_->clear();
            return nullptr;
        }
        place.kept.push_back({code, 0, {}});
        return &place.kept.back();
    }

    CountyRateTable& table_;
    std::unique_ptr<std::vector<Place>> own_;  // a later part's places
    std::vector<Place>* places_;
    KeyFilter states_;
    KeyFilter counties_;
    std::vector<std::int32_t> placeOf_;  // in places_, by whole state and county; -1 none yet
    size_t rows_ = 0;
};

CountyRateTable::CountyRateTable(size_t maxRows) : states_{0}, counties_{0}, maxRows_(maxRows) {
    for (const StateInfo& state : states()) states_.push_back(state.code);
    for (const CountyInfo& county : counties())
        if (std::find(counties_.begin(), counties_.end(), county.code) == counties_.end())
            counties_.push_back(county.code);
}

RateReadOutcome CountyRateTable::read(const std::string& path, const BlockHandler& tap, size_t blockSize) {
    Matcher matcher(*this);
    std::optional<RateFileError> error = scan(path, blockSize, matcher, contents_, tap);
    for (Place& place : places_) {
        for (const Kept& kept : place.kept) place.rows.push_back({kept.code, ratesOf(kept.record, kept.line)});
        place.kept = {};
        place.slotOf = {};
        place.others = {};
        std::sort(place.rows.begin(), place.rows.end(), [](const Coded& a, const Coded& b) { return a.code < b.code; });
    }
    return outcomeOf(std::move(error));
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
