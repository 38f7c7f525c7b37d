#pragma once
// How the farm's expected revenue is spread over its commodities: shares,
// the deviation from an even spread and the diversification factor drawn from
// it, the commodities large enough to count, the eligibility shares and the
// weighted rates of the coverage levels.

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "calc/commodity_rates.h"

namespace kbt2 {

struct FactorQuadratic {
    int commodityCount;
    double c0;
    double c1;
    double c2;
};

// Diversification factor c0 + c1 S + c2 S^2 for 2 to 6 commodities.
// clang-format off
inline constexpr FactorQuadratic kFactorQuadratics[] = {
    // N  c0     c1         c2
    {2, 0.668, 0.0179999, 0.3142858},
    {3, 0.523, 0.0607623, 0.3142858},
    {4, 0.474, 0.0248208, 0.218472},
    {5, 0.437, 0.0710358, 0.1760129},
    {6, 0.412, 0.0325131, 0.1945816},
};
// clang-format on

// From this many commodities on the factor is kFlatFactor, however the shares
// spread.
inline constexpr int kFlatFactorFrom = 7;
inline constexpr double kFlatFactor = 0.41;

constexpr bool quadraticsUpToFlatFactor() {
    int count = 2;
    for (const FactorQuadratic& q : kFactorQuadratics)
        if (q.commodityCount != count++) return false;
    return count == kFlatFactorFrom;
}
static_assert(quadraticsUpToFlatFactor(), "one quadratic per count from 2 commodities up to the flat factor's");

// The quadratic of the factor for N commodities; none for 1 commodity or from
// kFlatFactorFrom on.
const FactorQuadratic* factorQuadratic(int commodityCount);

struct Shares {
    std::vector<double> shares;  // per row: row KBT / total, to three decimals
    double equalShare = 0;       // E: 1 / N to three decimals
    double deviationSum = 0;     // S: sum of the rounded distances |share - E|
    double threshold = 0;        // H: E / 2 to three decimals
    int significantCount = 1;    // C: rows with a share of at least H, at least 1
};

// H for N commodities: half the even share 1 / N, each to three decimals. A
// commodity counts when its share, to three decimals, is at least H.
double significanceThreshold(size_t commodityCount);

// `rowKbts` holds the N rows' KBTs; `total` is the total expected KBT as the
// worksheet holds it (not 0).
Shares commodityShares(std::span<const double> rowKbts, double total);

// Sum of the shares of the livestock rows, to three decimals.
double livestockShare(const Shares& shares, std::span<const CommodityRates> rates);
// Sum of the shares of the rows that are livestock or an insurable crop,
// each row counted once, to three decimals.
double livestockOrInsurableShare(const Shares& shares, std::span<const CommodityRates> rates);

// One row's term of a weighted rate: rate times share, to three decimals.
double weightedTerm(double rate, double share);

// Per coverage-level column, the sum over the rows of their weighted terms,
// each rounded before it is added.
LevelValues weightedRates(const Shares& shares, std::span<const CommodityRates> rates);

// The diversification factor by the commodity count N (1 to 14) and the
// deviation sum: 1 for one commodity, a quadratic in S rounded to three
// decimals for 2 to 6, and 0.41 from 7 on however uneven the shares.
double diversificationFactor(int commodityCount, double deviationSum);

}  // namespace kbt2
