#pragma once
// A rate source for tests that need no rate file: every commodity code of
// Kent county, Michigan (26, 81) has a record of its own, with rates that
// grow with the code; elsewhere no code has one. Which rows are livestock or
// an insurable crop is the test's to say, by the code's place in the report.

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "rates/rate_source.h"

namespace kbt2::testing_support {

class MadeUpRates final : public RateSource {
public:
    // The flags of the report's rows, from the first; rows past them are neither.
    MadeUpRates(std::vector<char> livestock = {}, std::vector<char> insurable = {})
        : livestock_(std::move(livestock)), insurable_(std::move(insurable)) {}

    SourcedRates ratesFor(Platform&, double stateCode, double countyCode, std::span<const double> codes) override {
        SourcedRates sourced;
        sourced.path = "made-up rates";
        sourced.lookup.keyed = true;
        const bool kent = stateCode == 26 && countyCode == 81;
        for (size_t i = 0; i < codes.size(); ++i) {
            CommodityRates row;
            if (kent && codes[i] > 0) {
                const double extra = codes[i] / 100000;
                row.rates = {0.08 + extra, 0.064 + extra, 0.048 + extra};
                row.livestockFlag = i < livestock_.size() ? livestock_[i] : 'N';
                row.insurableFlag = i < insurable_.size() ? insurable_[i] : 'N';
                row.found = true;
                row.line = ++sourced.lookup.records;
            }
            sourced.lookup.rows.push_back(row);
        }
        return sourced;
    }

private:
    std::vector<char> livestock_;
    std::vector<char> insurable_;
};

}  // namespace kbt2::testing_support
