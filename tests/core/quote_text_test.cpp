// The words and figures of the quote summary and the details view: dollars
// as a farmer reads them and the premium's steps told with the run's figures.

#include "quote/quote_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/numbers.h"
#include "calc/premium.h"
#include "calc/shares.h"

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
              "An even spread of the expected KBT over 5 commodities would give each a share of 0.2 (1/5 to three "
              "decimals); the farm's shares differ from it by S = 0.8 in all (each share's distance from 0.2, to "
              "three decimals, added up). For 5 commodities the diversification factor is 0.437 + 0.0710358 × S + "
              "0.1760129 × S², to three decimals: 0.437 + 0.0710358 × 0.8 + 0.1760129 × 0.8² = 0.606.");
    EXPECT_NE(steps[2].find("with 5 commodities the even share is 0.2 and half of it, to three decimals, 0.1. 3 of "
                            "the 5 commodities reach it. The coverage levels offered are .75, .65."),
              std::string::npos)
        << steps[2];
    // One step per offered level, none for the hidden .80.
    ASSERT_EQ(steps.size(), 6U);
    EXPECT_EQ(steps[4],
              "At .75: the indemnity threshold is the allowable KBT times the coverage level, $100 × 0.75 = $75, and "
              "the liability 0.75 of that product, to the dollar: $100 × 0.75 × 0.75 = $56. The weighted rate, each "
              "commodity's rate at .75 times its share, to three decimals, added up, is 0.05; times the "
              "diversification factor it gives the KBT rate, to three decimals: 0.05 × 0.606 = 0.03. With no MPCI "
              "liability the net liability is the whole liability, $56. The gross premium is the net liability times "
              "the KBT rate, to the dollar: $56 × 0.03 = $2. The producer pays 0.5 of it, to the dollar: $2 × 0.5 = "
              "$1; the subsidy pays the rest: $2 − $1 = $1.");
    EXPECT_EQ(steps[5].rfind("At .65:", 0), 0U) << steps[5];
}

TEST(PremiumSteps, OneCommodityAndSevenOrMoreAreToldApart) {
    QuoteSummary one = fiveCommodities();
    one.premium.rows.resize(1);
    one.premium.diversificationFactor = 1;
    one.premium.rows[0].share = 1;
    EXPECT_EQ(premiumSteps(one)[1],
              "With a single commodity, which carries the whole expected KBT (a share of 1), the diversification "
              "factor is 1: there is no spread to reward.");

    QuoteSummary fourteen = fiveCommodities();
    fourteen.premium.rows.resize(14);
    fourteen.premium.equalShare = 0.071;
    fourteen.premium.deviationSum = 0;
    fourteen.premium.diversificationFactor = 0.41;
    EXPECT_EQ(premiumSteps(fourteen)[1],
              "The farm has 14 commodities, and from 7 commodities on the diversification factor is 0.41 however "
              "the expected KBT is spread among them.");
}

// A farm priced by the premium's own arithmetic: the row KBTs (amount 1
// each), every row rated 0.05 at .80, 0.04 at .75 and 0.03 at .65, and the
// MPCI liability.
struct StepsCase {
    const char* name;
    std::vector<double> kbts;
    double mpci;
    const char* counting;  // the words on the commodities that count
    const char* netRule;   // the words on the MPCI cover
};

QuoteSummary pricedFarm(const StepsCase& farm) {
    PremiumInputs in;
    in.incomes = {200000, 200000, 200000, 200000, 200000};
    in.averageIncome = 200000;
    in.mpciLiability = farm.mpci;
    in.totalAmounts.assign(farm.kbts.size(), 1);
    in.expectedValues = farm.kbts;
    CommodityRates rates;
    rates.rates = {0.05, 0.04, 0.03};
    rates.found = true;
    const std::vector<CommodityRates> rows(farm.kbts.size(), rates);
    QuoteSummary s;
    s.premium = premiumFigures(in, rows);
    s.commodities.resize(farm.kbts.size());
    for (int column = 0; column < kPremiumColumns; ++column)
        s.premium.columns[static_cast<size_t>(column)].offered = levelOffered(column, s.premium.significantCount);
    return s;
}

// "$1,287.50" or "0.606" as a number; none for a word.
std::optional<double> figureOf(std::string token) {
    while (!token.empty() && std::string_view(".,;:").find(token.back()) != std::string_view::npos) token.pop_back();
    std::erase(token, '$');
    std::erase(token, ',');
    if (token.empty() || token.find_first_not_of("0123456789.-") != std::string::npos) return std::nullopt;
    return std::stod(token);
}

// Every worked formula of a text ("a × b + c × S² = d"): its left side worked
// out, and the figure it claims on the right (a dollar figure when it is one).
struct Worked {
    double left;
    double right;
    bool dollars;
};
std::vector<Worked> workedFormulas(const std::string& text) {
    std::vector<std::string> tokens;
    std::istringstream words(text);
    for (std::string token; words >> token;) tokens.push_back(token);
    std::vector<Worked> formulas;
    for (size_t eq = 1; eq + 1 < tokens.size(); ++eq) {
        if (tokens[eq] != "=") continue;
        // Back to the first token that is neither a figure nor an operator.
        size_t from = eq;
        while (from > 0) {
            std::string t = tokens[from - 1];
            if (t.ends_with("²")) t.resize(t.size() - std::string_view("²").size());
            const bool operand = figureOf(t) && std::string_view(".,;:").find(t.back()) == std::string_view::npos;
            if (t != "×" && t != "+" && t != "−" && !operand) break;
            --from;
        }
        if (eq - from < 3) continue;  // "S = 0.8" names a figure
        double sum = 0;
        double term = 1;
        int sign = 1;
        for (size_t i = from; i < eq; ++i) {
            const std::string& t = tokens[i];
            if (t == "+" || t == "−") {
                sum += sign * term;
                sign = t == "+" ? 1 : -1;
                term = 1;
            } else if (t != "×") {
                const double value = *figureOf(t.ends_with("²") ? t.substr(0, t.size() - 2) : t);
                term *= t.ends_with("²") ? value * value : value;
            }
        }
        const std::string& right = tokens[eq + 1];
        formulas.push_back({sum + sign * term, *figureOf(right), right.find('$') != std::string::npos});
    }
    return formulas;
}

class PremiumStepsFarm : public testing::TestWithParam<StepsCase> {};

TEST_P(PremiumStepsFarm, WorkEachFormulaWithTheCalculationsFigures) {
    const StepsCase& farm = GetParam();
    const QuoteSummary s = pricedFarm(farm);
    const PremiumFigures& f = s.premium;
    const int count = static_cast<int>(farm.kbts.size());
    ASSERT_TRUE(f.finite);
    const auto steps = premiumSteps(s);
    const std::vector<SummaryLevel> offered = offeredLevels(s);
    ASSERT_EQ(steps.size(), 4 + offered.size());

    // The factor: the calculation's, by the formula for this count, and "from
    // 7 commodities on" only where the farm has that many.
    const std::string& factor = steps[1];
    EXPECT_EQ(f.diversificationFactor, diversificationFactor(count, f.deviationSum));
    EXPECT_NE(factor.find(plainText(f.diversificationFactor)), std::string::npos) << factor;
    const bool flat = count >= kFlatFactorFrom;
    EXPECT_EQ(factor.find("from " + std::to_string(kFlatFactorFrom) + " commodities on") != std::string::npos, flat)
        << factor;
    EXPECT_EQ(factor.find(" × S²") != std::string::npos, count > 1 && !flat) << factor;

    // The share that counts, half the even share of this many commodities,
    // and how many reach it.
    const std::string& counting = steps[2];
    EXPECT_NE(counting.find("half an even share"), std::string::npos) << counting;
    EXPECT_NE(counting.find("the even share is " + plainText(f.equalShare) + " and half of it"), std::string::npos)
        << counting;
    EXPECT_NE(counting.find(plainText(f.threshold), counting.find("half of it")), std::string::npos) << counting;
    EXPECT_NE(counting.find(farm.counting), std::string::npos) << counting;
    EXPECT_EQ(counting.find(" 1 commodities"), std::string::npos) << counting;

    // Each offered level: every figure the calculation's, every formula true
    // to its rounding.
    for (size_t i = 0; i < offered.size(); ++i) {
        const std::string& step = steps[4 + i];
        const PremiumColumn& l = offered[i].figures;
        SCOPED_TRACE(step);
        EXPECT_TRUE(step.starts_with("At " + offered[i].coverage + ": "));
        for (const double money : {l.indemnityThreshold(), l.kbtLiability(), l.netKbtLiability(), l.grossPremium(),
                                   l.producerPremium(), l.subsidy()})
            EXPECT_NE(step.find("= " + dollarText(money)), std::string::npos) << money;
        EXPECT_NE(step.find("= " + plainText(l.kbtRate()) + "."), std::string::npos);
        EXPECT_NE(step.find(farm.netRule), std::string::npos);
    }
    std::vector<Worked> formulas;
    for (const std::string& step : steps)
        for (const Worked& w : workedFormulas(step)) formulas.push_back(w);
    EXPECT_GE(formulas.size(), 5 * offered.size() + (count > 1 && !flat ? 1 : 0));
    for (const Worked& w : formulas)
        EXPECT_NEAR(w.left, w.right, w.dollars ? 0.5 + 1e-9 : 0.0005 + 1e-12) << w.left << " = " << w.right;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Farms, PremiumStepsFarm, testing::Values(
    StepsCase{"one", {80000}, 1234.5,
              "which the farm's commodity reaches", "the liability less the MPCI liability, to the dollar: $39,000 − $1,234.50 = $37,766."},
    StepsCase{"five", {48000, 16000, 8000, 4000, 4000}, 0,
              "3 of the 5 commodities reach it", "With no MPCI liability the net liability is the whole liability"},
    StepsCase{"seven", {20000, 20000, 10000, 10000, 10000, 5000, 5000}, 10000,
              "5 of the 7 commodities reach it", "the liability less the MPCI liability"},
    StepsCase{"fourteen", {9000, 9000, 9000, 9000, 9000, 9000, 9000, 9000, 1000, 1000, 1000, 1000, 1000, 1000}, 1e6,
              "8 of the 14 commodities reach it", "so the net liability is 0.5 of it"},
    StepsCase{"nothingToCover", {1}, 0, "which the farm's commodity reaches", "With no liability there is nothing to cover: the net liability is $0."},
    StepsCase{"fourteenEven", std::vector<double>(14, 5000), 0,
              "All 14 commodities reach it", "the whole liability"}),
    [](const testing::TestParamInfo<StepsCase>& info) { return std::string(info.param.name); });
// clang-format on

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
