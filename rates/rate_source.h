#pragma once
// Where the premium gets the county's rates from. The window reads the rate
// file for every premium; a batch of worksheets reads it once into a table
// and answers every premium from there.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "rates/rate_file.h"
#include "worksheet/platform.h"

namespace kbt2 {

// What the last premium read: the rate file, how many records it holds, how
// many commodity rows were asked about and how many of them a record matched,
// and the rate file the user chose when it was passed over because it is gone.
// Whether the file held any valid record at all, whether it is the shipped
// sample, and the rows (from 0) no record matched, whose rates are 0.
struct RateFileUse {
    std::string path;
    std::uint64_t records = 0;
    int commodities = 0;
    int found = 0;
    std::optional<std::string> chosenGone;
    bool keyed = true;
    bool sample = false;
    std::vector<int> unmatched;

    // Figures priced from this use are a quote: the file is a rate table and
    // every commodity found its record.
    bool pricesEveryRow() const { return keyed && unmatched.empty(); }
};

// A source's answer: the rate file it used (nothing when none was found) and
// the rows, or why that file could not be read; the chosen rate file passed
// over because it is gone.
struct SourcedRates {
    std::optional<std::string> path;
    RateLookup lookup;
    std::optional<std::string> chosenGone;
};

class RateSource {
public:
    virtual ~RateSource() = default;
    // The rates of every code for one county, the last matching record of
    // the file winning, exactly as reading the file would give them.
    virtual SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                                  std::span<const double> codes) = 0;
};

// The window's source: the file the platform's places hold, read anew for
// every premium.
class RateFileSource final : public RateSource {
public:
    SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                          std::span<const double> codes) override;
};

// What a premium that read its rates reports; nothing when it got no rows.
std::optional<RateFileUse> rateFileUse(const SourcedRates& sourced);

}  // namespace kbt2
