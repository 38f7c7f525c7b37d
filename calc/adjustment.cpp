#include "calc/adjustment.h"

#include <cmath>

#include "calc/numbers.h"

namespace kbt2 {

FiveYears readIncomes(const Worksheet& ws) {
    FiveYears incomes{};
    for (int k = 0; k < 5; ++k) incomes[static_cast<size_t>(k)] = numericValue(ws.text({Control::Allinc1, k}));
    return incomes;
}

int zeroDivisorBox(const FiveYears& incomes) {
    for (int k = 0; k < 4; ++k)
        if (incomes[static_cast<size_t>(k)] == 0) return k + 1;
    return 0;
}

double adjustmentFactor(const FiveYears& incomes, double averageIncome) {
    double ratioSum = 0;
    for (size_t k = 1; k < 5; ++k) {
        double ratio = roundThousandths(incomes[k] / incomes[k - 1]);
        // Not std::clamp: a ratio that is not a number stays one, so the
        // caller sees the overflow instead of a made-up factor.
        if (ratio < 0.8) ratio = 0.8;
        if (ratio > 1.2) ratio = 1.2;
        ratioSum += ratio;
    }
    const double growth = roundThousandths(ratioSum / 4);
    double factor = roundThousandths(std::pow(growth, 4));
    if (factor < 1 || averageIncome > incomes[3] || averageIncome > incomes[4]) factor = 1;
    return factor;
}

}  // namespace kbt2
