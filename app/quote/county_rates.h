#pragma once
// The rates of every commodity of every county a worksheet can select, from
// one reading of the rate file, before any worksheet is read: a batch then
// reads each worksheet once. A worksheet's premium asks for the selected
// state's and county's codes (0 when none is selected), so every record of
// those few pairs is kept, whatever its commodity code, the last of a key
// winning (with the line it stands on, as every row has). A real table holds a few thousand
// such records; a file with more than the table takes is refused
// (overflowed), and the batch falls back to asking its worksheets first.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "rates/rate_file.h"
#include "rates/rate_source.h"

namespace kbt2::quote {

class CountyRateTable {
public:
    static constexpr size_t kMaxRows = size_t{1} << 20;
    explicit CountyRateTable(size_t maxRows = kMaxRows);

    // Reads the file once. Nothing when the whole file was read, otherwise
    // why not.
    std::optional<RateFileError> read(const std::string& path);
    // More records matched than the table takes: it must not be used.
    bool overflowed() const { return overflowed_; }

    // The rows of these codes, as reading the file for them would give.
    std::vector<CommodityRates> rates(double stateCode, double countyCode, std::span<const double> codes) const;
    std::uint64_t records() const { return records_; }

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

    // Once read, the rows of each state and county in one block, by code:
    // a premium's look-ups then touch a few cache lines, where the nodes of
    // a hash table were scattered over the heap.
    struct Coded {
        double code;
        CommodityRates row;
    };
    struct Place {
        double state;
        double county;
        std::vector<Coded> rows;  // by code
    };
    const CommodityRates* find(double stateCode, double countyCode, double code) const;

    std::vector<double> states_;                             // the codes a state selection can give, 0 included
    std::vector<double> counties_;                           // the same for a county selection
    std::unordered_map<Key, CommodityRates, KeyHash> rows_;  // while reading
    std::vector<Place> places_;
    size_t maxRows_;
    bool overflowed_ = false;
    std::uint64_t records_ = 0;
};

// The batch's source over such a table: `path` is the file it was read
// from, nothing when none was found; `error` why it could not be read.
class CountyRateSource final : public RateSource {
public:
    CountyRateSource(const CountyRateTable& table, std::optional<std::string> path, std::optional<RateFileError> error)
        : table_(table), path_(std::move(path)), error_(std::move(error)) {}
    SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                          std::span<const double> codes) override;

private:
    const CountyRateTable& table_;
    std::optional<std::string> path_;
    std::optional<RateFileError> error_;
};

}  // namespace kbt2::quote
