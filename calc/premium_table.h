#pragma once
// The page-9 premium table's arithmetic: nine figures per coverage level,
// each step reading back what the step before it wrote.

#include <array>
#include <cstddef>
#include <iterator>

#include "worksheet/premium_rows.h"

namespace kbt2 {

// Coverage levels of the columns 0, 1 and 2.
inline constexpr std::array<double, kPremiumColumns> kCoverageLevels = {0.80, 0.75, 0.65};

// One coverage level: its nine figures in the order of kPremiumRows (as the
// fields hold them) and whether the level is offered.
struct PremiumColumn {
    std::array<double, std::size(kPremiumRows)> figures{};
    bool offered = true;

    double figure(Control row) const;
    bool finite() const;
};

// The KBT liability of a column from the allowable KBT.
double kbtLiability(double allowable, int column);

// Indemnity threshold, weighted average rate, diversification factor, KBT
// rate, net liability after the MPCI cover, gross premium, producer premium
// and subsidy of a column. `liability` is the KBT liability as its field
// holds it, `mpci` the MPCI liability.
PremiumColumn premiumColumn(int column, double allowable, double weightedRate, double diversificationFactor,
                            double liability, double mpci);

// The coverage levels offered by the significant commodity count: 0.65
// always, 0.75 from 3, 0.80 from 8.
bool levelOffered(int column, int significantCount);

}  // namespace kbt2
