#include "rates/rate_table.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "rates/rate_record_scan.h"

namespace kbt2 {

using namespace rate_records;

size_t RateTable::KeyHash::operator()(const Key& k) const {
    const std::hash<double> h;
    return h(k.state) * 1000003u ^ h(k.county) * 8191u ^ h(k.code);
}

// Fills the rows of the keys wanted from the records of a file, or of a
// later part of it into rows of its own until the earlier part's takes them.
class RateTable::Matcher {
public:
    explicit Matcher(RateTable& table) : table_(table), rows_(&table.rows_) {}

    void record(const char* line, std::uint64_t number) {
        const double state = columnValue(line, kState);
        const auto wanted = std::find_if(table_.wanted_.begin(), table_.wanted_.end(),
                                         [state](const WantedState& w) { return w.state == state; });
        if (wanted == table_.wanted_.end()) return;
        const double county = columnValue(line, kCounty);
        if (std::find(wanted->counties.begin(), wanted->counties.end(), county) == wanted->counties.end()) return;
        const auto row = rows_->find(Key{state, county, columnValue(line, kCommodity)});
        if (row != rows_->end()) row->second = ratesOf(line, number);
    }

    Matcher laterPart() const {
        Matcher later(table_);
        later.own_ = std::make_unique<Rows>(*rows_);
        for (auto& [key, row] : *later.own_) row = {};
        later.rows_ = later.own_.get();
        return later;
    }

    // A row the later part found is the last of its key in the file.
    void takeLater(Matcher& later, std::uint64_t linesBefore) {
        for (auto& [key, row] : *later.rows_) {
            if (!row.found) continue;
            row.line += linesBefore;
            (*rows_)[key] = row;
        }
    }

private:
    RateTable& table_;
    std::unique_ptr<Rows> own_;  // a later part's rows
    Rows* rows_;
};

void RateTable::want(double stateCode, double countyCode, std::span<const double> codes) {
    if (codes.empty()) return;
    for (const double code : codes) rows_.try_emplace(Key{stateCode, countyCode, code});
    auto wanted = std::find_if(wanted_.begin(), wanted_.end(),
                               [stateCode](const WantedState& w) { return w.state == stateCode; });
    if (wanted == wanted_.end()) wanted = wanted_.insert(wanted_.end(), {stateCode, {}});
    if (std::find(wanted->counties.begin(), wanted->counties.end(), countyCode) == wanted->counties.end())
        wanted->counties.push_back(countyCode);
}

RateReadOutcome RateTable::read(const std::string& path, size_t blockSize, const BlockHandler& tap) {
    Matcher matcher(*this);
    return outcomeOf(scan(path, blockSize, matcher, contents_, tap));
}

std::vector<CommodityRates> RateTable::rates(double stateCode, double countyCode, std::span<const double> codes) const {
    std::vector<CommodityRates> rows;
    rows.reserve(codes.size());
    for (const double code : codes) {
        const auto row = rows_.find(Key{stateCode, countyCode, code});
        rows.push_back(row != rows_.end() ? row->second : CommodityRates{});
    }
    return rows;
}

}  // namespace kbt2
