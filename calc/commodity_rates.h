#pragma once
// What the premium needs to know of one commodity report row beyond the
// worksheet: its premium rate at each coverage level and two flags, as the
// rate file gives them. The premium's arithmetic takes these as given; rates/
// looks them up.

#include <cstdint>

#include "worksheet/premium_rows.h"

namespace kbt2 {

// The values of the last matching record, or rates 0 and no flags when no
// record matches.
struct CommodityRates {
    LevelValues rates{};       // one per coverage level, in column order
    char livestockFlag = ' ';  // "Y" marks livestock
    char insurableFlag = ' ';  // "Y" marks a crop with an MPCI product
    bool found = false;        // a record matched
    std::uint64_t line = 0;    // the rate file's line of that record, from 1; 0 when none matched

    bool livestock() const { return livestockFlag == 'Y'; }
    bool insurable() const { return insurableFlag == 'Y'; }
};

}  // namespace kbt2
