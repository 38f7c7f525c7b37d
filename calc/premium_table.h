#pragma once
// The page-9 premium table: nine rows, one column per coverage level.

#include <array>

#include "calc/field_draft.h"
#include "worksheet/premium_rows.h"

namespace kbt2 {

// Coverage levels of the columns 0, 1 and 2.
inline constexpr std::array<double, kPremiumColumns> kCoverageLevels = {0.80, 0.75, 0.65};

// KBT liability of every column from the allowable KBT.
void writeLiabilities(FieldDraft& draft, double allowable);

// Indemnity threshold, weighted average rate, diversification factor, KBT
// rate, net liability after the MPCI cover, gross premium, producer premium
// and subsidy of every column, each step reading back what the earlier ones
// wrote.
void writePremiums(FieldDraft& draft, double allowable, const std::array<double, kPremiumColumns>& weightedRates,
                   double diversificationFactor);

// The coverage levels offered by the significant commodity count: 0.65
// always, 0.75 from 3, 0.80 from 8. Columns not offered are hidden and
// emptied; offered ones are shown again.
void showOfferedLevels(FieldDraft& draft, int significantCount);

}  // namespace kbt2
