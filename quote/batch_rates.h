#pragma once
// A rate table of a kbt2-quote run (the one of a plain run, or the old or
// the new one of a comparison): found once, read once for the whole batch,
// and the source every premium of the batch takes its rates from.
//
// Many worksheets read it county-wide, before any worksheet
// (CountyRateTable). A handful read it for exactly the codes they ask for
// (RateTable), as the window does, after reading their keys first; so does a
// file with more records in the plan's counties than the county-wide table
// takes, read again.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "quote/quote_summary.h"
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

    // The reading of the file also takes its SHA-256: identity() then names
    // the copy read.
    void identify() { identify_ = true; }

    void readCountyWide();
    // Not read county-wide at all: the worksheets' keys come first.
    void readByKeysOnly() { keysOnly_ = true; }
    // Read by keys, or county-wide and the table overflowed: the worksheets'
    // keys are needed.
    bool needsKeys() const { return path_ && (keysOnly_ || counties_.overflowed()); }
    RateTable& keyed() { return keyed_; }
    void readKeyed();

    // The path, size, time, records and SHA-256 of the copy the rows were
    // read from; nothing unless identify() was asked for and it was read whole.
    const std::optional<SummaryRateFile>& identity() const { return identity_; }

    // Why the file could not be read, on one line to `errors`.
    void reportError(std::ostream& errors) const;

    // Once read county-wide: why no worksheet may be priced from this table
    // at all, on one line to `errors`; false when it may. A path named that
    // is there but no ordinary file, and a file read whole without one valid
    // record, are refused.
    bool refused(std::ostream& errors) const;
    // Read whole, and the shipped sample table with its made-up rates.
    bool sample() const { return path_ && !error_ && contents().sample; }

    // The premiums' source, once read.
    RateSource& source();

private:
    const RateFileContents& contents() const { return keysOnly_ ? keyed_.contents() : counties_.contents(); }
    // One reading of the file by `read`, which passes each block on to the
    // tap it is given; with identify(), a digest of the blocks is taken on
    // the way while `stillWanted` says the rows read will be used. The tap may
    // run on a thread of its own, beside the scan.
    using Tap = std::function<void(const char*, const char*)>;
    void readOnce(const std::function<RateReadOutcome(const Tap&)>& read, const std::function<bool()>& stillWanted);

    std::optional<std::string> path_;
    bool namedNotAFile_ = false;
    bool identify_ = false;
    bool keysOnly_ = false;
    CountyRateTable counties_;
    RateTable keyed_;
    bool byKeys_ = false;
    std::optional<SummaryRateFile> identity_;
    std::optional<RateFileError> error_;
    std::unique_ptr<RateSource> source_;
};

}  // namespace kbt2::quote
