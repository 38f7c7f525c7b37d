#pragma once
// The page-9 premium table's arithmetic: nine figures per coverage level,
// each step reading back what the step before it wrote.

#include <array>
#include <cstddef>
#include <iterator>
#include <vector>

#include "worksheet/premium_rows.h"

namespace kbt2 {

// The liability the plan covers is three quarters of the allowable KBT at
// the coverage level; MPCI cover can take at most half of it; the producer
// pays half of the gross premium.
inline constexpr double kLiabilityFactor = 0.75;
inline constexpr double kMpciLimit = 0.5;
inline constexpr double kProducerPart = 0.5;

// One coverage level: its nine figures in the order of kPremiumRows (as the
// fields hold them) and whether the level is offered.
struct PremiumColumn {
    std::array<double, std::size(kPremiumRows)> figures{};
    bool offered = true;

    double figure(Control row) const;
    double& figure(Control row);
    bool finite() const;

    // The figures by the names of their rows.
    double indemnityThreshold() const { return figure(Control::Text23); }
    double weightedRate() const { return figure(Control::Text24); }
    double diversificationFactor() const { return figure(Control::Text25); }
    double kbtRate() const { return figure(Control::Text26); }
    double kbtLiability() const { return figure(Control::Text27); }
    double netKbtLiability() const { return figure(Control::Text28); }
    double grossPremium() const { return figure(Control::Text16); }
    double subsidy() const { return figure(Control::Text17); }
    double producerPremium() const { return figure(Control::Text18); }
};

// How a column's net liability follows from its liability and the MPCI
// liability.
enum class NetLiabilityRule {
    NothingToCover,  // a liability of 0 leaves 0, whatever the MPCI
    MpciOverLimit,   // MPCI above kMpciLimit of the liability: that part of it is left
    LessMpci,        // the liability less the MPCI, to the dollar
};
NetLiabilityRule netLiabilityRule(double liability, double mpci);

// The KBT liability of a column from the allowable KBT.
double kbtLiability(double allowable, int column);

// Indemnity threshold, weighted average rate, diversification factor, KBT
// rate, net liability after the MPCI cover, gross premium, producer premium
// and subsidy of a column. `liability` is the KBT liability as its field
// holds it, `mpci` the MPCI liability.
PremiumColumn premiumColumn(int column, double allowable, double weightedRate, double diversificationFactor,
                            double liability, double mpci);

// Whether the significant commodity count offers the level of a column: from
// its row's count of kCoverageLevels on. The count is at least 1, so a level
// offered from 1 is always offered.
bool levelOffered(int column, int significantCount);
constexpr bool alwaysOffered(int column) { return kCoverageLevels[column].offeredFrom <= 1; }

// The levels the count opens one after the other, from the fewest commodities
// needed to the most: every level not always offered.
std::vector<CoverageLevel> levelSteps();

}  // namespace kbt2
