#pragma once
// The premium's arithmetic: from the incomes, the commodity report and each
// row's rates to every figure of page 9, in one struct a command writes into
// the fields (and a report of the run's details reads). Each figure is the
// value its field holds once written, and each step uses those values.

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <vector>

#include "calc/adjustment.h"
#include "calc/commodity_rates.h"
#include "calc/premium_table.h"

namespace kbt2 {

// What the premium's arithmetic needs of the worksheet.
struct PremiumInputs {
    FiveYears incomes{};                 // Allinc1(0..4)
    double averageIncome = 0;            // Averageinc as written
    double mpciLiability = 0;            // MPCI (an empty field reads 0)
    std::vector<double> totalAmounts;    // Totamt1 of the N rows in use
    std::vector<double> expectedValues;  // Expval1 of the same rows
};

// Why a premium cannot be calculated.
enum class PremiumStopKind {
    NoCommodity,      // the commodity report is empty
    ZeroIncome,       // a zero income of `box` would be divided by
    ZeroTotal,        // the total expected KBT is 0
    NothingToInsure,  // the allowable KBT (`allowableKbt`) is 0 or less
    OutOfRange,       // a figure is infinite or not a number
};
struct PremiumStop {
    PremiumStopKind kind;
    int box = 0;
    double allowableKbt = 0;
};

// The eligibility tests' warnings; the calculation goes on after them. Each
// kind is one row of kPremiumWarnings below, in this order.
enum class PremiumWarning {
    LivestockOver35,             // livestock share above 35 %
    LivestockOrInsurableOver50,  // livestock and insurable crops above 50 %
};

// A commodity row's KBT: total amount times expected value, whole dollars.
double rowKbt(double totalAmount, double expectedValue);

// The projected (preliminary) KBT by the adjustment-factor rule, the row
// KBTs, their total and the allowable KBT, the smaller of the two.
struct AllowableKbt {
    double projected = 0;
    std::vector<double> rowKbts;  // whole dollars
    double total = 0;             // the sum as added up
    double totalAsWritten = 0;    // the sum as its field holds it
    double allowable = 0;
    bool finite = true;
};
AllowableKbt allowableKbt(const PremiumInputs& in);

// What stops the premium before any rate is read; nothing when it can go on.
// (An empty commodity report is the worksheet's to tell.)
std::optional<PremiumStop> premiumInputStop(const PremiumInputs& in);

// One commodity report row's part in the premium.
struct PremiumRow {
    double kbt = 0;    // total amount times expected value, whole dollars
    double share = 0;  // of the total expected KBT, to three decimals
    bool livestock = false;
    bool insurable = false;
    LevelValues rates{};     // one per coverage level, in column order
    LevelValues weighted{};  // rate times share, to three decimals
};

struct PremiumFigures {
    std::vector<PremiumRow> rows;
    double equalShare = 0;     // E
    double deviationSum = 0;   // S
    double threshold = 0;      // H
    int significantCount = 1;  // C
    double livestockShare = 0;
    double livestockOrInsurableShare = 0;
    double diversificationFactor = 0;
    double averageIncome = 0;
    double projectedKbt = 0;
    double totalExpectedKbt = 0;
    double allowableKbt = 0;
    double mpciLiability = 0;
    std::array<PremiumColumn, kPremiumColumns> columns{};
    std::vector<PremiumWarning> warnings;  // in the order they are shown
    bool finite = true;                    // false: a figure is out of range
};

// Every figure of the premium; `rates` holds one entry per row in use.
PremiumFigures premiumFigures(const PremiumInputs& in, std::span<const CommodityRates> rates);

// The eligibility tests, one row per kind of PremiumWarning in its order,
// which is the order the warnings are shown in: a share of the expected KBT
// above the limit warns. What each kind is called and how it shows is the
// table of commands/premium_warnings.h, one row per row of this one.
struct PremiumWarningTest {
    PremiumWarning kind;
    double limit;                   // the share allowed, to three decimals
    double PremiumFigures::*share;  // the share tested, to three decimals
};
// clang-format off
inline constexpr PremiumWarningTest kPremiumWarnings[] = {
    {PremiumWarning::LivestockOver35,            0.35, &PremiumFigures::livestockShare},
    {PremiumWarning::LivestockOrInsurableOver50, 0.5,  &PremiumFigures::livestockOrInsurableShare},
};
// clang-format on
inline constexpr size_t kPremiumWarningKinds = std::size(kPremiumWarnings);

constexpr bool rowsInKindOrder() {
    for (size_t i = 0; i < kPremiumWarningKinds; ++i)
        if (kPremiumWarnings[i].kind != static_cast<PremiumWarning>(i)) return false;
    return true;
}
static_assert(rowsInKindOrder(), "kPremiumWarnings holds one row per kind, in the order of PremiumWarning");

constexpr const PremiumWarningTest& premiumWarningTest(PremiumWarning kind) {
    return kPremiumWarnings[static_cast<size_t>(kind)];
}

// The warnings of the figures' shares, in the table's order.
std::vector<PremiumWarning> premiumWarnings(const PremiumFigures& f);

}  // namespace kbt2
