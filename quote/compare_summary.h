#pragma once
// The closing summary of a comparison on a terminal: how many worksheets
// were compared, whose producer premium went up, down or stayed, and the
// five largest rises.

#include <cstddef>
#include <string>
#include <vector>

#include "quote/worksheet_comparison.h"

namespace kbt2::quote {

class CompareSummary {
public:
    // A worksheet counts as up when its producer premium rose at any
    // coverage level, as down when it fell at some level and rose at none;
    // its rise is its largest at any level.
    void add(const ComparedQuote& compared);
    // The summary's lines, each with its line end.
    std::string text() const;

private:
    struct Rise {
        double change;
        std::string file;
        std::string coverage;
        std::string before;  // the producer premiums, as shown ("" where not offered)
        std::string after;
    };
    static constexpr size_t kRisesShown = 5;

    size_t compared_ = 0;
    size_t up_ = 0;
    size_t down_ = 0;
    size_t unchanged_ = 0;
    size_t errors_ = 0;
    std::vector<Rise> rises_;  // the largest, largest first
};

}  // namespace kbt2::quote
