#include "calc/shares.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "calc/numbers.h"
#include "calc/premium.h"
#include "commands/messages.h"

namespace kbt2 {
namespace {

struct ShareCase {
    const char* name;
    std::vector<double> rowKbts;
    std::vector<double> shares;
    double deviationSum;
    int significantCount;
    std::string factor;  // as written into the table
};
void PrintTo(const ShareCase& c, std::ostream* os) { *os << c.name; }

class CommodityShares : public testing::TestWithParam<ShareCase> {};

TEST_P(CommodityShares, GiveDeviationCountAndFactor) {
    const ShareCase& c = GetParam();
    double total = 0;
    for (double kbt : c.rowKbts) total += kbt;
    const Shares s = commodityShares(c.rowKbts, total);
    EXPECT_EQ(s.shares, c.shares);
    EXPECT_DOUBLE_EQ(s.deviationSum, c.deviationSum);
    EXPECT_EQ(s.significantCount, c.significantCount);
    EXPECT_EQ(plainText(diversificationFactor(static_cast<int>(c.rowKbts.size()), s.deviationSum)), c.factor);
}

const std::vector<double> kFourteenEqual(14, 50);
const std::vector<double> kFourteenShares(14, 0.071);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Farms, CommodityShares, testing::Values(
    ShareCase{"TwoUneven",            {70, 30},             {0.7, 0.3},                    0.4, 2,  "0.725"},
    ShareCase{"FiveUneven",           {60, 20, 10, 5, 5},   {0.6, 0.2, 0.1, 0.05, 0.05},   0.8, 3,  "0.606"},
    ShareCase{"FourteenEqual",        kFourteenEqual,       kFourteenShares,               0,   14, "0.41"},
    ShareCase{"OneCommodity",         {500},                {1},                           0,   1,  "1"},
    ShareCase{"TwoEqual",             {40, 40},             {0.5, 0.5},                    0,   2,  "0.668"},
    ShareCase{"ThreeEqual",           {10, 10, 10},         {0.333, 0.333, 0.333},         0,   3,  "0.523"},
    ShareCase{"FourEqual",            {5, 5, 5, 5},         {0.25, 0.25, 0.25, 0.25},      0,   4,  "0.474"},
    ShareCase{"SixEqual",             {1, 1, 1, 1, 1, 1},   std::vector<double>(6, 0.167), 0,   6,  "0.412"},
    ShareCase{"SevenUneven",          {94, 1, 1, 1, 1, 1, 1},
              {0.94, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01}, 1.595, 1, "0.41"},
    ShareCase{"ShareEqualToHCounts",  {84, 83, 208, 208, 208, 209},
              {0.084, 0.083, 0.208, 0.208, 0.208, 0.209}, 0.332, 5, "0.444"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(CommodityShares, EqualShareAndThresholdByCount) {
    // clang-format off
    const double expected[][2] = {
        {1, 0.5}, {0.5, 0.25}, {0.333, 0.167}, {0.25, 0.125}, {0.2, 0.1}, {0.167, 0.084}, {0.143, 0.072},
        {0.125, 0.063}, {0.111, 0.056}, {0.1, 0.05}, {0.091, 0.046}, {0.083, 0.042}, {0.077, 0.039}, {0.071, 0.036},
    };
    // clang-format on
    for (int n = 1; n <= 14; ++n) {
        const Shares s = commodityShares(std::vector<double>(static_cast<size_t>(n), 1), n);
        EXPECT_EQ(s.equalShare, expected[n - 1][0]) << n;
        EXPECT_EQ(s.threshold, expected[n - 1][1]) << n;
    }
}

CommodityRates flagged(char livestock, char insurable, double rate = 0) {
    return {{rate, rate / 2, rate / 4}, livestock, insurable};
}

struct EligibilityCase {
    const char* name;
    std::vector<double> rowKbts;
    std::vector<CommodityRates> rates;
    bool livestockWarning;
    bool insurableWarning;
};
void PrintTo(const EligibilityCase& c, std::ostream* os) { *os << c.name; }

class Eligibility : public testing::TestWithParam<EligibilityCase> {};

TEST_P(Eligibility, WarnAboveTheLimits) {
    const EligibilityCase& c = GetParam();
    double total = 0;
    for (double kbt : c.rowKbts) total += kbt;
    const Shares s = commodityShares(c.rowKbts, total);
    const double livestockLimit = premiumWarningTest(PremiumWarning::LivestockOver35).limit;
    const double insurableLimit = premiumWarningTest(PremiumWarning::LivestockOrInsurableOver50).limit;
    EXPECT_EQ(livestockShare(s, c.rates) > livestockLimit, c.livestockWarning);
    EXPECT_EQ(livestockOrInsurableShare(s, c.rates) > insurableLimit, c.insurableWarning);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Farms, Eligibility, testing::Values(
    EligibilityCase{"LivestockExactly35",      {35, 65},        {flagged('Y', ' '), flagged(' ', ' ')},  false, false},
    EligibilityCase{"Livestock351",            {351, 649},      {flagged('Y', ' '), flagged(' ', ' ')},  true,  false},
    EligibilityCase{"Livestock40Only",         {40, 60},        {flagged('Y', ' '), flagged(' ', 'N')},  true,  false},
    EligibilityCase{"Livestock30Insurable25",  {30, 25, 45},    {flagged('Y', ' '), flagged(' ', 'Y'), flagged(' ', ' ')}, false, true},
    EligibilityCase{"Livestock60Both",         {60, 40},        {flagged('Y', ' '), flagged(' ', ' ')},  true,  true},
    EligibilityCase{"InsurableExactlyHalf",    {50, 50},        {flagged(' ', 'Y'), flagged(' ', ' ')},  false, false},
    EligibilityCase{"BothFlagsCountOnce",      {45, 55},        {flagged('Y', 'Y'), flagged(' ', ' ')},  true,  false},
    EligibilityCase{"TwoLivestockRowsExactly35", {7, 343, 650},  {flagged('Y', ' '), flagged('Y', ' '), flagged(' ', ' ')}, false, false},
    EligibilityCase{"LowerCaseYDoesNotCount",  {90, 10},        {flagged('y', 'y'), flagged(' ', ' ')},  false, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WeightedRates, RoundEachTermBeforeAdding) {
    // Shares 0.741 and 0.259 at 0.052: 0.038532 -> 0.039 and 0.013468 -> 0.013.
    const std::vector<double> kbts{593, 207};
    const Shares s = commodityShares(kbts, 800);
    const std::vector<CommodityRates> rates{flagged(' ', ' ', 0.052), flagged(' ', ' ', 0.052)};
    const auto weighted = weightedRates(s, rates);
    EXPECT_DOUBLE_EQ(weighted[0], 0.052);
    EXPECT_DOUBLE_EQ(weighted[1], 0.019 + 0.007);
    EXPECT_DOUBLE_EQ(weighted[2], 0.01 + 0.003);
}

TEST(WeightedRates, ACommodityWithoutRatesAddsNothingButKeepsItsShare) {
    const std::vector<double> kbts{50, 50};
    const Shares s = commodityShares(kbts, 100);
    const std::vector<CommodityRates> rates{flagged(' ', ' ', 0.08), CommodityRates{}};
    EXPECT_DOUBLE_EQ(weightedRates(s, rates)[0], 0.04);
    EXPECT_EQ(s.significantCount, 2);
}

TEST(EligibilityWarnings, CarryTheirExactTexts) {
    const Message livestock = messages::premiumWarning(PremiumWarning::LivestockOver35);
    EXPECT_EQ(livestock.title, "*** ERROR ***");
    EXPECT_EQ(livestock.text,
              "You are not eligible for KBT because more than\r 35% of your expected KBT comes from livestock.");
    EXPECT_EQ(livestock.buttons, MessageButtons::OKCancel);
    EXPECT_EQ(livestock.icon, MessageIcon::Critical);
    const Message insurable = messages::premiumWarning(PremiumWarning::LivestockOrInsurableOver50);
    EXPECT_EQ(insurable.title, "*** ERROR ***");
    EXPECT_EQ(insurable.text,
              "You must purchase an MPCI product on insurable crops because\r50% of your expected KBT comes from "
              "livestock and insurable crops.");
    EXPECT_EQ(insurable.buttons, MessageButtons::OKCancel);
    EXPECT_EQ(insurable.icon, MessageIcon::Critical);
}

}  // namespace
}  // namespace kbt2
