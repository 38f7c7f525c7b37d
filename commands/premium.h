#pragma once

#include <optional>
#include <vector>

#include "calc/rate_source.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

// What Calculate Premium asks the rate source for: the selected state and
// county and the commodity code of each report row in use.
struct PremiumRateKeys {
    int stateCode = 0;
    int countyCode = 0;
    std::vector<double> codes;
};
PremiumRateKeys premiumRateKeys(const Worksheet& ws);

// Calculate Premium: looks up the county's rates of every commodity in the
// rate file and fills the page-9 premium table for the coverage levels 0.80,
// 0.75 and 0.65, with the allowable KBT, the commodity count, the two
// eligibility results and the levels offered. The rates come from `rates`;
// what was read is returned when the command got as far as reading rates.
std::optional<RateFileUse> command4Click(Worksheet& ws, Platform& platform, RateSource& rates);
// The same with the window's source: the rate file, read for this premium.
void command4Click(Worksheet& ws, Platform& platform);

}  // namespace kbt2
