#include "calc/premium_table.h"

#include <cmath>

#include "calc/numbers.h"
#include "worksheet/premium_rows.h"

namespace kbt2 {
namespace {

// The liability the plan covers is three quarters of the allowable KBT at
// the coverage level; MPCI cover can take at most half of it; the producer
// pays half of the gross premium.
constexpr double kLiabilityFactor = 0.75;
constexpr double kMpciLimit = 0.5;
constexpr double kProducerPart = 0.5;

double netLiability(double liability, double mpci) {
    // A liability of 0 has nothing left to cover, whatever the MPCI.
    if (liability == 0) return 0;
    if (mpci / liability > kMpciLimit) return roundWhole(liability * kMpciLimit);
    return std::floor(liability + 0.5 - mpci);
}

}  // namespace

void writeLiabilities(FieldDraft& draft, double allowable) {
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text27, j}, roundWhole(allowable * kLiabilityFactor * kCoverageLevels[j]));
}

void writePremiums(FieldDraft& draft, double allowable, const std::array<double, kPremiumColumns>& weightedRates,
                   double diversificationFactor) {
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text23, j}, roundWhole(allowable * kCoverageLevels[j]));
    for (int j = 0; j < kPremiumColumns; ++j) draft.setNumber({Control::Text24, j}, roundThousandths(weightedRates[j]));
    for (int j = 0; j < kPremiumColumns; ++j) draft.setNumber({Control::Text25, j}, diversificationFactor);
    for (int j = 0; j < kPremiumColumns; ++j) {
        const double rate = draft.number({Control::Text24, j});
        const double factor = draft.number({Control::Text25, j});
        draft.setNumber({Control::Text26, j}, std::floor(rate * 1000 * factor + 0.5) / 1000);
    }
    const double mpci = draft.number({Control::MPCI});
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text28, j}, netLiability(draft.number({Control::Text27, j}), mpci));
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text16, j},
                        roundWhole(draft.number({Control::Text26, j}) * draft.number({Control::Text28, j})));
    // Every producer premium is written before any subsidy.
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text18, j}, roundWhole(draft.number({Control::Text16, j}) * kProducerPart));
    for (int j = 0; j < kPremiumColumns; ++j)
        draft.setNumber({Control::Text17, j}, draft.number({Control::Text16, j}) - draft.number({Control::Text18, j}));
}

void showOfferedLevels(FieldDraft& draft, int significantCount) {
    // Column 2 (0.65) is always offered and never touched here.
    const bool offered[2] = {significantCount >= 8, significantCount >= 3};
    for (int j = 0; j < 2; ++j) {
        for (Control row : kPremiumRows) {
            draft.setVisible({row, j}, offered[j]);
            if (!offered[j]) draft.setText({row, j}, "");
        }
    }
}

}  // namespace kbt2
