#pragma once
// The rates of many worksheets from one reading of the rate file: every
// (state, county, commodity code) wanted is collected first, the file is then
// read once, and each premium takes its rows from the table. A row's values
// are exactly those the premium's own reading of the file would give.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "rates/rate_file.h"
#include "rates/rate_source.h"

namespace kbt2 {

class RateTable {
public:
    // Asks for the rates of these codes in this county.
    void want(double stateCode, double countyCode, std::span<const double> codes);
    bool empty() const { return rows_.empty(); }

    // Reads the file once, the last matching record of each key winning:
    // whole, or with why not. `tap` sees every block of the file read, in
    // order, perhaps on a thread of its own.
    RateReadOutcome read(const std::string& path, size_t blockSize = kRateFileBlockSize,
                         const std::function<void(const char*, const char*)>& tap = {});

    // The rows of these codes; a key never asked for reads as unmatched.
    std::vector<CommodityRates> rates(double stateCode, double countyCode, std::span<const double> codes) const;
    std::uint64_t records() const { return contents_.records; }
    const RateFileContents& contents() const { return contents_; }

private:
    struct Key {
        double state;
        double county;
        double code;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };
    class Matcher;

    // The counties wanted, by state: most records of a national file are in
    // none of them and are passed over after a column or two.
    struct WantedState {
        double state;
        std::vector<double> counties;
    };

    using Rows = std::unordered_map<Key, CommodityRates, KeyHash>;
    Rows rows_;
    std::vector<WantedState> wanted_;
    RateFileContents contents_;
};

// The batch's source: a table read once (a RateTable, or any table with the
// same rates(), records() and contents()). `path` is the file it was read from, nothing
// when none was found; `error` why it could not be read.
template <class Table>
class TableRateSource final : public RateSource {
public:
    TableRateSource(const Table& table, std::optional<std::string> path, std::optional<RateFileError> error)
        : table_(table), path_(std::move(path)), error_(std::move(error)) {}
    SourcedRates ratesFor(Platform& /*platform*/, double stateCode, double countyCode,
                          std::span<const double> codes) override {
        SourcedRates sourced;
        sourced.path = path_;
        if (!path_) return sourced;
        sourced.lookup.error = error_;
        if (error_) return sourced;
        sourced.lookup.rows = table_.rates(stateCode, countyCode, codes);
        sourced.lookup.records = table_.records();
        sourced.lookup.keyed = table_.contents().keyed;
        sourced.lookup.sample = table_.contents().sample;
        return sourced;
    }

private:
    const Table& table_;
    std::optional<std::string> path_;
    std::optional<RateFileError> error_;
};
using RateTableSource = TableRateSource<RateTable>;

}  // namespace kbt2
