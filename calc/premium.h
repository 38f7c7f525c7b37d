#pragma once
// The premium's arithmetic: from the incomes, the commodity report and each
// row's rates to every figure of page 9, in one struct a command writes into
// the fields (and a report of the run's details reads). Each figure is the
// value its field holds once written, and each step uses those values.

#include <array>
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

// The eligibility tests' warnings; the calculation goes on after them.
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

}  // namespace kbt2
