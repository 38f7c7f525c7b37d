#include "calc/premium.h"

#include <cmath>

#include "calc/numbers.h"
#include "calc/shares.h"

namespace kbt2 {

double rowKbt(double totalAmount, double expectedValue) { return roundWhole(totalAmount * expectedValue); }

AllowableKbt allowableKbt(const PremiumInputs& in) {
    AllowableKbt kbt;
    const double factor = adjustmentFactor(in.incomes, in.averageIncome);
    kbt.projected = asWritten(roundWhole(factor * in.averageIncome));
    for (size_t i = 0; i < in.totalAmounts.size(); ++i) {
        kbt.rowKbts.push_back(rowKbt(in.totalAmounts[i], in.expectedValues[i]));
        kbt.total += kbt.rowKbts.back();
    }
    kbt.totalAsWritten = asWritten(kbt.total);
    // The projected KBT is compared with the sum as added up, not as written.
    kbt.allowable = kbt.projected >= kbt.total ? kbt.totalAsWritten : kbt.projected;
    kbt.finite = std::isfinite(kbt.projected) && std::isfinite(kbt.total);
    return kbt;
}

// Each case would divide by zero or insure nothing.
std::optional<PremiumStop> premiumInputStop(const PremiumInputs& in) {
    if (const int box = zeroDivisorBox(in.incomes)) return PremiumStop{PremiumStopKind::ZeroIncome, box};
    const AllowableKbt kbt = allowableKbt(in);
    if (!kbt.finite) return PremiumStop{PremiumStopKind::OutOfRange};
    if (kbt.total == 0) return PremiumStop{PremiumStopKind::ZeroTotal};
    if (kbt.allowable <= 0) return PremiumStop{PremiumStopKind::NothingToInsure, 0, kbt.allowable};
    return std::nullopt;
}

PremiumFigures premiumFigures(const PremiumInputs& in, std::span<const CommodityRates> rates) {
    PremiumFigures f;
    const AllowableKbt kbt = allowableKbt(in);
    f.averageIncome = in.averageIncome;
    f.projectedKbt = kbt.projected;
    f.totalExpectedKbt = kbt.totalAsWritten;
    f.allowableKbt = kbt.allowable;
    f.mpciLiability = in.mpciLiability;

    const Shares shares = commodityShares(kbt.rowKbts, kbt.totalAsWritten);
    f.equalShare = shares.equalShare;
    f.deviationSum = shares.deviationSum;
    f.threshold = shares.threshold;
    f.significantCount = shares.significantCount;
    for (size_t i = 0; i < kbt.rowKbts.size(); ++i) {
        PremiumRow row{kbt.rowKbts[i],       shares.shares[i], rates[i].livestock(),
                       rates[i].insurable(), rates[i].rates,   {}};
        for (size_t j = 0; j < row.rates.size(); ++j) row.weighted[j] = weightedTerm(row.rates[j], row.share);
        f.rows.push_back(row);
    }
    f.livestockShare = livestockShare(shares, rates);
    f.livestockOrInsurableShare = livestockOrInsurableShare(shares, rates);
    f.warnings = premiumWarnings(f);

    const int count = static_cast<int>(kbt.rowKbts.size());
    f.diversificationFactor = diversificationFactor(count, shares.deviationSum);
    const LevelValues weighted = weightedRates(shares, rates);
    f.finite = kbt.finite;
    for (int j = 0; j < kPremiumColumns; ++j) {
        const double liability = asWritten(kbtLiability(kbt.allowable, j));
        PremiumColumn& column = f.columns[static_cast<size_t>(j)];
        column = premiumColumn(j, kbt.allowable, weighted[static_cast<size_t>(j)], f.diversificationFactor, liability,
                               in.mpciLiability);
        column.offered = levelOffered(j, shares.significantCount);
        f.finite = f.finite && column.finite();
    }
    return f;
}

std::vector<PremiumWarning> premiumWarnings(const PremiumFigures& f) {
    std::vector<PremiumWarning> warnings;
    for (const PremiumWarningTest& test : kPremiumWarnings)
        if (f.*test.share > test.limit) warnings.push_back(test.kind);
    return warnings;
}

}  // namespace kbt2
