#pragma once
// The preliminary KBT's arithmetic: the totals and averages of the five tax
// years, the adjustment factor and the preliminary KBT and expenses.

#include "calc/adjustment.h"

namespace kbt2 {

// Each figure as its field holds it once written; the factor and the
// preliminary figures use the averages as written.
struct PreliminaryFigures {
    double totalIncome = 0;
    double totalExpense = 0;
    double averageIncome = 0;
    double averageExpense = 0;
    double adjustmentFactor = 0;
    double preliminaryKbt = 0;
    double preliminaryExpense = 0;

    // False when a figure is infinite or not a number.
    bool finite() const;
};

// `incomes` must have no zero a year-to-year ratio divides by
// (zeroDivisorBox() is 0).
PreliminaryFigures preliminaryFigures(const FiveYears& incomes, const FiveYears& expenses);

}  // namespace kbt2
