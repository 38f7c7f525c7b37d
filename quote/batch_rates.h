#pragma once
// A rate table of a kbt2-quote run (the one of a plain run, or the old or
// the new one of a comparison): found once, read once for the whole batch,
// and the source every premium of the batch takes its rates from.
//
// It is first read county-wide, before any worksheet (CountyRateTable).
// Only a file with more records in the plan's counties than that table takes
// is read again, for exactly the codes the worksheets ask for (RateTable):
// the batch then reads its worksheets once more, first, for those keys.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "rates/county_rates.h"
#include "rates/rate_table.h"

namespace kbt2::quote {

class BatchRates {
public:
    // `countyRows`: how many rows the county-wide table takes.
    explicit BatchRates(size_t countyRows = CountyRateTable::kMaxRows) : counties_(countyRows) {}

    // The file named (only an ordinary file: a pipe or a device could stall
    // the batch), else the one of the window's search. What is wrong with it
    // goes to `errors`.
    void locate(const std::optional<std::string>& named, std::ostream& errors);
    const std::optional<std::string>& path() const { return path_; }

    void readCountyWide();
    // Read county-wide, the table overflowed: the worksheets' keys are needed.
    bool needsKeys() const { return path_ && counties_.overflowed(); }
    RateTable& keyed() { return keyed_; }
    void readKeyed();

    // Why the file could not be read, on one line to `errors`.
    void reportError(std::ostream& errors) const;

    // Once read county-wide: why no worksheet may be priced from this table
    // at all, on one line to `errors`; false when it may. A path named that
    // is there but no ordinary file, and a file read whole without one valid
    // record, are refused.
    bool refused(std::ostream& errors) const;
    // Read whole, and the shipped sample table with its made-up rates.
    bool sample() const { return path_ && !error_ && counties_.contents().sample; }

    // The premiums' source, once read.
    RateSource& source();

private:
    std::optional<std::string> path_;
    bool namedNotAFile_ = false;
    CountyRateTable counties_;
    RateTable keyed_;
    bool byKeys_ = false;
    std::optional<RateFileError> error_;
    std::unique_ptr<RateSource> source_;
};

}  // namespace kbt2::quote
