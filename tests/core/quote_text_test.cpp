// The words and figures of the quote summary and the details view: dollars
// as a farmer reads them and the premium's steps told with the run's figures.

#include "quote/quote_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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
    // On paper each warning is followed by what it means for the farm.
    const auto notices = eligibilityNotices(s);
    ASSERT_EQ(notices.size(), 2U);
    EXPECT_EQ(notices[0].warning, eligibilityWarnings(s)[0]);
    EXPECT_EQ(notices[0].meaning,
              "The plan insures a farm only while livestock bring no more than 35% of its expected revenue; the farm "
              "as entered does not meet that rule. The policy cannot be written as it stands unless livestock come to "
              "35% or less of what the farm intends to produce. The premium shown is an estimate for a farm that "
              "meets the rule.");
    EXPECT_NE(notices[1].meaning.find("more than 50% of the expected revenue"), std::string::npos);
    const auto steps = premiumSteps(s);
    EXPECT_NE(std::find(steps.begin(), steps.end(),
                        "Livestock make up 0.372 of the expected KBT (the limit is 0.35); livestock and insurable "
                        "crops 0.8 (the limit is 0.5)."),
              steps.end());
}

// A level is read with its share of the allowable KBT, and the paper's box
// of plain words explains the terms once.
TEST(PlainWords, NameEachLevelWithItsShareAndExplainTheTerms) {
    EXPECT_EQ(coverageText(".80"), ".80 (80% coverage)");
    EXPECT_EQ(coverageText(".65"), ".65 (65% coverage)");
    EXPECT_EQ(coverageText(".99"), ".99");
    const std::vector<std::string> words = plainWords();
    ASSERT_EQ(words.size(), 3U);
    EXPECT_TRUE(words[0].starts_with("KBT is the farm revenue this plan insures,"));
    EXPECT_TRUE(words[1].starts_with("MPCI is multiple-peril crop insurance"));
    EXPECT_NE(words[2].find("at .75 (75% coverage) the revenue guarantee is 75% of the allowable KBT"),
              std::string::npos);
    SummaryRateFile file;
    file.path = "/srv/agency/rates/Ratefile.prn";
    EXPECT_EQ(rateFileName(file), "Ratefile.prn");
    file.path = "Ratefile.prn";
    EXPECT_EQ(rateFileName(file), "Ratefile.prn");
}

// A renewal letter's level: the last and this premium, the change in
// dollars and per cent, and the reason in words.
struct RenewalCase {
    const char* name;
    std::optional<double> last;
    std::optional<double> current;
    double oldRate;    // the first commodity's rate at .75 under the last table (this one's is 0.05)
    double oldFactor;  // this quote's is 0.606
    const char* change;
    const char* percent;
    const char* reason;
};

class RenewalReasons : public testing::TestWithParam<RenewalCase> {};

TEST_P(RenewalReasons, SayWhatMovedThePremium) {
    const RenewalCase& c = GetParam();
    QuoteSummary s = fiveCommodities();
    s.commodities[0].name = "Corn";
    s.commodities[1].code = "53";
    std::vector<LevelValues> rates(s.premium.rows.size(), LevelValues{0.06, 0.05, 0.04});
    for (LevelValues& row : rates) row[1] = 0.05;
    for (size_t i = 0; i < rates.size(); ++i) s.premium.rows[i].rates = rates[i];
    rates[0][1] = c.oldRate;
    s.lastQuote = LastQuote{{{".75", c.last, c.current}}, rates, c.oldFactor};
    const std::vector<RenewalLine> lines = renewalLines(s);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].coverage, ".75 (75% coverage)");
    EXPECT_EQ(lines[0].last, c.last ? dollarText(*c.last) : "not offered");
    EXPECT_EQ(lines[0].current, c.current ? dollarText(*c.current) : "not offered");
    EXPECT_EQ(lines[0].change, c.change);
    EXPECT_EQ(lines[0].percent, c.percent);
    EXPECT_EQ(lines[0].reason, c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenewalReasons,
    testing::Values(
        RenewalCase{"RateRose", 10, 12, 0.04, 0.606, "+$2", "+20.0%",
                    "The rate for Corn at this level rose from 0.04 to 0.05."},
        RenewalCase{"RateFell", 14, 12, 0.06, 0.606, "-$2", "-14.3%",
                    "The rate for Corn at this level fell from 0.06 to 0.05."},
        RenewalCase{"RateAndFactor", 10, 13, 0.04, 0.55, "+$3", "+30.0%",
                    "The rate for Corn at this level rose from 0.04 to 0.05. The diversification factor changed "
                    "from 0.55 to 0.606."},
        RenewalCase{"LevelWithdrawn", 12, std::nullopt, 0.05, 0.606, "", "",
                    "The new rate table no longer offers this level, so the policy cannot be renewed at it."},
        RenewalCase{"LevelOffered", std::nullopt, 12, 0.05, 0.606, "", "",
                    "The new rate table offers this level; the last quote did not."},
        RenewalCase{"NothingChanged", 12, 12, 0.05, 0.606, "$0", "0.0%",
                    "Nothing that sets this premium changed: the same rates and the same diversification factor."},
        RenewalCase{"FromNothing", 0, 5, 0.05, 0.606, "+$5", "",
                    "The new rate table changed the figures behind this premium; page 2 shows them."}),
    [](const auto& info) { return std::string(info.param.name); });

// A commodity without a name is named by its code; one whose rate is the
// same is not named at all.
TEST(RenewalReasons, NameAnUnnamedCommodityByItsCode) {
    QuoteSummary s = fiveCommodities();
    s.commodities[1].code = "53";
    std::vector<LevelValues> rates(s.premium.rows.size(), LevelValues{0.06, 0.05, 0.04});
    for (size_t i = 0; i < rates.size(); ++i) s.premium.rows[i].rates = rates[i];
    rates[1][1] = 0.07;
    s.lastQuote = LastQuote{{{".75", 9, 8}}, rates, 0.606};
    EXPECT_EQ(renewalLines(s).at(0).reason, "The rate for commodity code 53 at this level fell from 0.07 to 0.05.");
    // Without the last table's rates the letter claims no more than it knows.
    s.lastQuote->rates.clear();
    s.lastQuote->diversificationFactor = 0.5;
    EXPECT_EQ(renewalLines(s).at(0).reason,
              "The new rate table changed the figures behind this premium; page 2 shows them.");
    s.lastQuote->levels[0].last = 8;
    EXPECT_EQ(renewalLines(s).at(0).reason, "The premium at this level is the same as the last quote's.");
    s.lastQuote.reset();
    EXPECT_TRUE(renewalLines(s).empty());
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
