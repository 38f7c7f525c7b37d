#include "calc/premium_table.h"

#include <algorithm>
#include <cmath>

#include "calc/numbers.h"

namespace kbt2 {
namespace {

double netLiability(double liability, double mpci) {
    switch (netLiabilityRule(liability, mpci)) {
    case NetLiabilityRule::NothingToCover: return 0;
    case NetLiabilityRule::MpciOverLimit: return roundWhole(liability * kMpciLimit);
    case NetLiabilityRule::LessMpci: break;
    }
    return std::floor(liability + 0.5 - mpci);
}

size_t rowIndex(Control row) {
    return static_cast<size_t>(std::ranges::find(kPremiumRows, row) - std::begin(kPremiumRows));
}

}  // namespace

NetLiabilityRule netLiabilityRule(double liability, double mpci) {
    // A liability of 0 has nothing left to cover, whatever the MPCI.
    if (liability == 0) return NetLiabilityRule::NothingToCover;
    if (mpci / liability > kMpciLimit) return NetLiabilityRule::MpciOverLimit;
    return NetLiabilityRule::LessMpci;
}

double PremiumColumn::figure(Control row) const { return figures[rowIndex(row)]; }
double& PremiumColumn::figure(Control row) { return figures[rowIndex(row)]; }

bool PremiumColumn::finite() const {
    return std::ranges::all_of(figures, [](double v) { return std::isfinite(v); });
}

double kbtLiability(double allowable, int column) {
    return roundWhole(allowable * kLiabilityFactor * kCoverageLevels[column].level);
}

PremiumColumn premiumColumn(int column, double allowable, double weightedRate, double diversificationFactor,
                            double liability, double mpci) {
    PremiumColumn c;
    auto set = [&c](Control row, double value) { return c.figures[rowIndex(row)] = asWritten(value); };
    set(Control::Text23, roundWhole(allowable * kCoverageLevels[column].level));
    const double rate = set(Control::Text24, roundThousandths(weightedRate));
    const double factor = set(Control::Text25, diversificationFactor);
    const double kbtRate = set(Control::Text26, std::floor(rate * 1000 * factor + 0.5) / 1000);
    set(Control::Text27, liability);
    const double net = set(Control::Text28, netLiability(liability, mpci));
    const double gross = set(Control::Text16, roundWhole(kbtRate * net));
    const double producer = set(Control::Text18, roundWhole(gross * kProducerPart));
    set(Control::Text17, gross - producer);
    return c;
}

bool levelOffered(int column, int significantCount) {
    return alwaysOffered(column) || significantCount >= kCoverageLevels[column].offeredFrom;
}

std::vector<CoverageLevel> levelSteps() {
    std::vector<CoverageLevel> steps;
    for (int column = 0; column < kPremiumColumns; ++column)
        if (!alwaysOffered(column)) steps.push_back(kCoverageLevels[column]);
    std::ranges::stable_sort(steps, {}, &CoverageLevel::offeredFrom);
    return steps;
}

}  // namespace kbt2
