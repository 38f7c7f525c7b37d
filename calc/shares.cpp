#include "calc/shares.h"

#include <cmath>

#include "calc/numbers.h"

namespace kbt2 {

double significanceThreshold(size_t commodityCount) {
    return roundThousandths(roundThousandths(1 / static_cast<double>(commodityCount)) * 0.5);
}

Shares commodityShares(std::span<const double> rowKbts, double total) {
    Shares s;
    for (double kbt : rowKbts) s.shares.push_back(std::floor(kbt / total * 1000 + 0.5) / 1000);
    const double n = static_cast<double>(rowKbts.size());
    s.equalShare = roundThousandths(1 / n);
    for (double share : s.shares) s.deviationSum += roundThousandths(std::fabs(share - s.equalShare));
    s.threshold = roundThousandths(s.equalShare * 0.5);
    s.significantCount = 0;
    for (double share : s.shares)
        if (share >= s.threshold) ++s.significantCount;
    if (s.significantCount == 0) s.significantCount = 1;
    return s;
}

// Shares are whole thousandths, but adding them in binary leaves noise: 0.007
// and 0.343 add up to a little more than 0.35. Rounding the sum to three
// decimals gives the exact total, so a share of exactly a limit passes.
double livestockShare(const Shares& shares, std::span<const CommodityRates> rates) {
    double sum = 0;
    for (size_t i = 0; i < shares.shares.size(); ++i)
        if (rates[i].livestock()) sum += shares.shares[i];
    return roundThousandths(sum);
}

double livestockOrInsurableShare(const Shares& shares, std::span<const CommodityRates> rates) {
    double sum = 0;
    for (size_t i = 0; i < shares.shares.size(); ++i)
        if (rates[i].livestock() || rates[i].insurable()) sum += shares.shares[i];
    return roundThousandths(sum);
}

double weightedTerm(double rate, double share) { return std::floor(rate * share * 1000 + 0.5) / 1000; }

LevelValues weightedRates(const Shares& shares, std::span<const CommodityRates> rates) {
    LevelValues weighted{};
    for (size_t j = 0; j < weighted.size(); ++j)
        for (size_t i = 0; i < shares.shares.size(); ++i)
            weighted[j] += weightedTerm(rates[i].rates[j], shares.shares[i]);
    return weighted;
}

const FactorQuadratic* factorQuadratic(int commodityCount) {
    for (const FactorQuadratic& q : kFactorQuadratics)
        if (q.commodityCount == commodityCount) return &q;
    return nullptr;
}

double diversificationFactor(int commodityCount, double deviationSum) {
    const double s = deviationSum;
    if (const FactorQuadratic* q = factorQuadratic(commodityCount))
        return roundThousandths((s * (s * q->c2)) + (s * q->c1 + q->c0));
    return commodityCount <= 1 ? 1 : kFlatFactor;
}

}  // namespace kbt2
