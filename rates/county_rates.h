#pragma once
// The rates of every commodity of every county a worksheet can select, from
// one reading of the rate file, before any worksheet is read: a batch then
// reads each worksheet once. A worksheet's premium asks for the selected
// state's and county's codes (0 when none is selected), so every record of
// those few pairs is kept, whatever its commodity code, the last of a key
// winning (with the line it stands on, as every row has). A real table holds a few thousand
// such records; a file with more than the table takes is refused
// (overflowed), and the batch falls back to asking its worksheets first.

#include <atomic>
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
#include "rates/rate_table.h"

namespace kbt2::quote {

class CountyRateTable {
public:
    static constexpr size_t kMaxRows = size_t{1} << 20;
    explicit CountyRateTable(size_t maxRows = kMaxRows);

    // Reads the file once, whole or with why not. `tap` sees every block of
    // the file read, in order, perhaps on a thread of its own.
    RateReadOutcome read(const std::string& path, const std::function<void(const char*, const char*)>& tap = {},
                         size_t blockSize = kRateFileBlockSize);
    // More records matched than the table takes: it must not be used.
    // Safe to ask while another thread reads the file.
    bool overflowed() const { return overflowed_.load(std::memory_order_relaxed); }

    // The rows of these codes, as reading the file for them would give.
    std::vector<CommodityRates> rates(double stateCode, double countyCode, std::span<const double> codes) const;
    std::uint64_t records() const { return contents_.records; }
    const RateFileContents& contents() const { return contents_; }

private:
    class Matcher;

    // The rows of one state and county. Once read, they are in one block,
    // by code: a premium's look-ups then touch a few cache lines, where the
    // nodes of a hash table were scattered over the heap.
    struct Coded {
        double code;
        CommodityRates row;
    };
    // While the file is read, the last record of each code is kept as it
    // stands and only read into its rates at the end: on a table that is
    // nearly all the plan's, reading every record's rates cost more than
    // the rest of the reading.
    struct Kept {
        double code;
        std::uint64_t line;
        char record[60];
    };
    struct Place {
        double state;
        double county;
        std::vector<Coded> rows;                    // by code, once read
        std::vector<Kept> kept;                     // while the file is read
        std::vector<std::int32_t> slotOf;           // in kept, by whole code from 0 to 9999; -1 none
        std::unordered_map<double, size_t> others;  // in kept, by any other code
    };
    const CommodityRates* find(double stateCode, double countyCode, double code) const;

    std::vector<double> states_;    // the codes a state selection can give, 0 included
    std::vector<double> counties_;  // the same for a county selection
    std::vector<Place> places_;
    size_t maxRows_;
    std::atomic<bool> overflowed_ = false;
    RateFileContents contents_;
};

// The batch's source over such a table.
using CountyRateSource = TableRateSource<CountyRateTable>;

}  // namespace kbt2::quote
