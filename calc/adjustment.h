#pragma once
// The adjustment-factor rule: it rewards income growth over the five tax
// years 1993 to 1997. The preliminary KBT and the premium both apply it.

#include <array>

#include "worksheet/worksheet.h"

namespace kbt2 {

using FiveYears = std::array<double, 5>;

// The numeric values of Allinc1(0..4).
FiveYears readIncomes(const Worksheet& ws);

// The box (1 to 4, for 1993 to 1996) of the first zero income that a
// year-to-year ratio would divide by; 0 when there is none.
int zeroDivisorBox(const FiveYears& incomes);

// Ratios of each year to the year before, rounded to three decimals and
// bounded to 0.8..1.2; their mean rounded to three decimals; its fourth power
// rounded to three decimals. The factor is reset to exactly 1 when it is
// below 1 or when the average income exceeds the 1996 or the 1997 income.
// `averageIncome` is the average as written into the worksheet.
double adjustmentFactor(const FiveYears& incomes, double averageIncome);

}  // namespace kbt2
