#include "calc/preliminary.h"

#include <cmath>

#include "calc/numbers.h"

namespace kbt2 {
namespace {

double sum(const FiveYears& values) { return values[0] + values[1] + values[2] + values[3] + values[4]; }

}  // namespace

bool PreliminaryFigures::finite() const {
    for (double v : {totalIncome, totalExpense, averageIncome, averageExpense, adjustmentFactor, preliminaryKbt,
                     preliminaryExpense})
        if (!std::isfinite(v)) return false;
    return true;
}

PreliminaryFigures preliminaryFigures(const FiveYears& incomes, const FiveYears& expenses) {
    PreliminaryFigures f;
    f.totalIncome = asWritten(roundWhole(sum(incomes)));
    f.totalExpense = asWritten(roundWhole(sum(expenses)));
    f.averageIncome = asWritten(roundThousandths(sum(incomes) / 5));
    f.averageExpense = asWritten(roundThousandths(sum(expenses) / 5));
    const double factor = adjustmentFactor(incomes, f.averageIncome);
    f.adjustmentFactor = asWritten(factor);
    // The unrounded factor, as it was computed, multiplies the averages.
    f.preliminaryKbt = asWritten(roundWhole(factor * f.averageIncome));
    f.preliminaryExpense = asWritten(roundWhole(factor * f.averageExpense));
    return f;
}

}  // namespace kbt2
