#include "calc/rate_table.h"

#include <algorithm>
#include <functional>

#include "calc/rate_record_scan.h"

namespace kbt2 {

using namespace rate_records;

size_t RateTable::KeyHash::operator()(const Key& k) const {
    const std::hash<double> h;
    return h(k.state) * 1000003u ^ h(k.county) * 8191u ^ h(k.code);
}

class RateTable::Matcher {
public:
    explicit Matcher(RateTable& table) : table_(table) {}

    void record(const char* line) {
        const double state = columnValue(line, kState);
        if (std::find(table_.states_.begin(), table_.states_.end(), state) == table_.states_.end()) return;
        const auto row = table_.rows_.find(Key{state, columnValue(line, kCounty), columnValue(line, kCommodity)});
        if (row != table_.rows_.end()) row->second = ratesOf(line);
    }

private:
    RateTable& table_;
};

void RateTable::want(double stateCode, double countyCode, std::span<const double> codes) {
    for (const double code : codes) rows_.try_emplace(Key{stateCode, countyCode, code});
    if (!codes.empty() && std::find(states_.begin(), states_.end(), stateCode) == states_.end())
        states_.push_back(stateCode);
}

std::optional<RateFileError> RateTable::read(const std::string& path, size_t blockSize) {
    Matcher matcher(*this);
    return scan(path, blockSize, matcher, records_);
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

SourcedRates RateTableSource::ratesFor(Platform& /*platform*/, double stateCode, double countyCode,
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

}  // namespace kbt2
