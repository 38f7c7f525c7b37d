// The words and figures of the quote summary and the details view: dollars
// as a farmer reads them and the premium's steps told with the run's figures.

#include "quote/quote_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace kbt2;

namespace {

struct MoneyCase {
    double amount;
    const char* dollars;
    const char* cents;
};

class MoneyText : public testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyText, GroupsThousandsAndRoundsHalfUp) {
    EXPECT_EQ(dollarText(GetParam().amount), GetParam().dollars);
    EXPECT_EQ(dollarCentsText(GetParam().amount), GetParam().cents);
}

INSTANTIATE_TEST_SUITE_P(Amounts, MoneyText,
                         testing::Values(MoneyCase{0, "$0", "$0.00"}, MoneyCase{999, "$999", "$999.00"},
                                         MoneyCase{1000, "$1,000", "$1,000.00"},
                                         MoneyCase{1287.5, "$1,288", "$1,287.50"},
                                         MoneyCase{1234567, "$1,234,567", "$1,234,567.00"},
                                         MoneyCase{4.2649, "$4", "$4.26"}, MoneyCase{-40, "-$40", "-$40.00"},
                                         MoneyCase{-0.2, "$0", "-$0.20"}, MoneyCase{-0.001, "$0", "$0.00"}));

// The five-commodity example: row KBTs 60, 20, 10, 5 and 5, three
// significant commodities, so .75 and .65 are offered.
QuoteSummary fiveCommodities() {
    QuoteSummary s;
    PremiumFigures& f = s.premium;
    f.projectedKbt = 120;
    f.totalExpectedKbt = 100;
    f.allowableKbt = 100;
    const double shares[] = {0.6, 0.2, 0.1, 0.05, 0.05};
    for (int i = 0; i < 5; ++i) {
        s.commodities.emplace_back();
        f.rows.emplace_back();
        f.rows.back().share = shares[i];
    }
    f.equalShare = 0.2;
    f.deviationSum = 0.8;
    f.threshold = 0.1;
    f.significantCount = 3;
    f.livestockShare = 0.05;
    f.livestockOrInsurableShare = 0.15;
    f.diversificationFactor = 0.606;
    // threshold, weighted rate, factor, KBT rate, liability, net, gross, subsidy, producer; offered
    f.columns[0] = {{80, 0.05, 0.606, 0.03, 60, 60, 2, 1, 1}, false};
    f.columns[1] = {{75, 0.05, 0.606, 0.03, 56, 56, 2, 1, 1}, true};
    f.columns[2] = {{65, 0.04, 0.606, 0.024, 49, 49, 1, 0, 1}, true};
    return s;
}

TEST(PremiumSteps, TellTheDiversificationWithTheRunsFigures) {
    const auto steps = premiumSteps(fiveCommodities());
    ASSERT_GE(steps.size(), 4U);
    EXPECT_EQ(steps[0],
              "The allowable KBT is the smaller of the projected KBT ($120) and the total expected KBT of the "
              "commodities ($100): $100.");
    EXPECT_EQ(steps[1],
              "5 commodities; an even spread would give each 0.2; yours differ from it by 0.8 in all, so "
              "the factor is 0.606.");
    EXPECT_NE(steps[2].find("at least 0.1: 3 do, so the coverage levels offered are .75, .65"), std::string::npos)
        << steps[2];
    // One step per offered level, none for the hidden .80.
    ASSERT_EQ(steps.size(), 6U);
    EXPECT_EQ(steps[4].rfind("At .75: the weighted rate 0.05", 0), 0U) << steps[4];
    EXPECT_EQ(steps[5].rfind("At .65:", 0), 0U) << steps[5];
}

TEST(PremiumSteps, OneCommodityAndSevenOrMoreAreToldApart) {
    QuoteSummary one = fiveCommodities();
    one.premium.rows.resize(1);
    one.premium.diversificationFactor = 1;
    EXPECT_EQ(premiumSteps(one)[1],
              "1 commodity carries the whole expected KBT, so its share is 1 and the factor is 1.");

    QuoteSummary fourteen = fiveCommodities();
    fourteen.premium.rows.resize(14);
    fourteen.premium.equalShare = 0.071;
    fourteen.premium.deviationSum = 0;
    fourteen.premium.diversificationFactor = 0.41;
    EXPECT_EQ(premiumSteps(fourteen)[1],
              "14 commodities; an even spread would give each 0.071; yours differ from it by 0 in all, and from 7 "
              "commodities on the factor is 0.41 however they are spread.");
}

TEST(EligibilityWarnings, OnlyTheTestsThatFailedAreWorded) {
    QuoteSummary s = fiveCommodities();
    EXPECT_TRUE(eligibilityWarnings(s).empty());
    s.premium.warnings = {PremiumWarning::LivestockOver35, PremiumWarning::LivestockOrInsurableOver50};
    s.premium.livestockShare = 0.6;
    s.premium.livestockOrInsurableShare = 0.6;
    const auto warnings = eligibilityWarnings(s);
    ASSERT_EQ(warnings.size(), 2U);
    EXPECT_NE(warnings[0].find("60.0% of the expected revenue"), std::string::npos);
    EXPECT_NE(warnings[1].find("an MPCI policy must be bought"), std::string::npos);
    s.premium.warnings = {PremiumWarning::LivestockOrInsurableOver50};
    EXPECT_EQ(eligibilityWarnings(s), std::vector<std::string>{warnings[1]});
}

// The words of each warning and of the step on the tests, each share and
// limit in its place.
TEST(EligibilityWarnings, WordEachShareAndLimit) {
    QuoteSummary s = fiveCommodities();
    s.premium.warnings = {PremiumWarning::LivestockOver35, PremiumWarning::LivestockOrInsurableOver50};
    s.premium.livestockShare = 0.372;
    s.premium.livestockOrInsurableShare = 0.8;
    EXPECT_EQ(eligibilityWarnings(s),
              (std::vector<std::string>{
                  "Livestock bring 37.2% of the expected revenue, more than the 35% the plan allows: as the worksheet "
                  "stands, the farm is not eligible for KBT.",
                  "Livestock and crops insurable under MPCI bring 80.0% of the expected revenue, more than 50%: an "
                  "MPCI policy must be bought on the insurable crops."}));
    const auto steps = premiumSteps(s);
    EXPECT_NE(std::find(steps.begin(), steps.end(),
                        "Livestock make up 0.372 of the expected KBT (the limit is 0.35); livestock and insurable "
                        "crops 0.8 (the limit is 0.5)."),
              steps.end());
}

TEST(PremiumPerThousand, IsThePremiumOverTheGuarantee) {
    PremiumColumn level;
    level.figure(Control::Text23) = 80000;  // the indemnity threshold
    level.figure(Control::Text18) = 340;    // the producer premium
    EXPECT_DOUBLE_EQ(premiumPerThousand(level), 4.25);
    level.figure(Control::Text23) = 0;
    EXPECT_DOUBLE_EQ(premiumPerThousand(level), 0);
    EXPECT_EQ(percentText(0.071), "7.1%");
    EXPECT_EQ(percentText(1), "100.0%");
}

}  // namespace
