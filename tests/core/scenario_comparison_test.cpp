// Scenarios side by side: each column a fresh calculation of its scenario,
// the changes from the base in words, the levels a change opened or closed,
// the cheapest guarantee per dollar, and what the count rule needs for the
// next level in the farm's own figures.

#include "quote/scenario_comparison.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "calc/shares.h"
#include "fake_platform.h"
#include "quote/fresh_quote.h"
#include "quote/paper_options.h"
#include "rate_records.h"
#include "rates/rate_source.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::FakePlatform;
using testing_support::rateRecord;

// A Michigan farm in Kent county with five incomes of 100000, a rate record
// for each code 100 to 113, and a commodity per amount (expected value 1).
struct Farm {
    explicit Farm(const std::vector<int>& amounts) {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(KBT2_TEST_SCRATCH_DIR) / "scenario_comparison" /
              (std::string(test->test_suite_name()) + "." + test->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        platform.folders = {dir.string()};
        std::ofstream out(dir / "Ratefile.prn", std::ios::binary);
        for (int row = 0; row < 14; ++row)
            out << rateRecord({.code = std::to_string(100 + row),
                               .rate80 = "0.08" + std::to_string(row % 10),
                               .rate75 = "0.06" + std::to_string(row % 10),
                               .rate65 = "0.04" + std::to_string(row % 10)})
                << "\r\n";
        Worksheet& ws = live.worksheet();
        ws.select({Control::St, 0});
        ws.select({Control::Mi1, 2});
        for (int k = 0; k < 5; ++k) ws.setText({Control::Allinc1, k}, "100000");
        ws.setText({Control::Averageinc}, "100000");
        for (size_t i = 0; i < amounts.size(); ++i) row(static_cast<int>(i), amounts[i]);
    }
    // Row `index` of the current scenario.
    void row(int index, int amount, const std::string& value = "1") {
        Worksheet& ws = live.worksheet();
        ws.setText({Control::Cropname1, index}, "Commodity " + std::to_string(index));
        ws.setText({Control::Unit1, index}, std::to_string(100 + index));
        ws.setText({Control::Totamt1, index}, std::to_string(amount));
        ws.setText({Control::Expval1, index}, value);
    }
    void set(FieldRef field, const std::string& text) { live.worksheet().setText(field, text); }
    ScenarioComparison compare() { return compareScenarios(scenarios, platform, rates); }

    fs::path dir;
    FakePlatform platform;
    Form live{platform};
    Case scenarios{live};
    RateFileSource rates;
};

struct ComparisonCase {
    const char* what;
    std::vector<int> base;
    std::function<void(Farm&)> change;  // done in a scenario added as "what if"
    std::vector<std::string> differences;
    std::array<LevelChange, 3> changes;           // of the scenario's .80, .75, .65
    std::array<std::array<bool, 3>, 2> cheapest;  // per scenario, per level
};

void PrintTo(const ComparisonCase& c, std::ostream* os) { *os << c.what; }

class ComparisonCases : public testing::TestWithParam<ComparisonCase> {};

constexpr auto S = LevelChange::Same;

TEST_P(ComparisonCases, EachColumnIsAFreshCalculationWithItsChangesInWords) {
    const ComparisonCase& c = GetParam();
    Farm farm(c.base);
    ASSERT_TRUE(farm.scenarios.add("what if"));
    c.change(farm);
    const ScenarioComparison comparison = farm.compare();
    ASSERT_EQ(comparison.scenarios.size(), 2u);
    EXPECT_TRUE(comparison.scenarios[0].differences.empty());
    EXPECT_EQ(comparison.scenarios[1].differences, c.differences);
    EXPECT_TRUE(comparison.scenarios[1].current);

    for (size_t i = 0; i < 2; ++i) {
        const ComparedScenario& column = comparison.scenarios[i];
        ASSERT_TRUE(column.summary) << column.problem;
        // Nothing was ever calculated in either worksheet: the figures can
        // only come from a calculation of its own.
        const FreshQuote fresh = freshQuote(farm.scenarios.worksheet(i), farm.platform, farm.rates, column.name);
        ASSERT_TRUE(fresh.summary);
        EXPECT_EQ(column.summary->premium.totalExpectedKbt, fresh.summary->premium.totalExpectedKbt);
        EXPECT_EQ(column.summary->premium.allowableKbt, fresh.summary->premium.allowableKbt);
        EXPECT_EQ(column.summary->premium.significantCount, fresh.summary->premium.significantCount);
        for (size_t j = 0; j < 3; ++j) {
            const ComparedLevel& level = column.levels[j];
            const PremiumColumn& figures = fresh.summary->premium.columns[j];
            EXPECT_EQ(level.offered, figures.offered) << i << " " << j;
            EXPECT_EQ(level.guarantee, figures.indemnityThreshold()) << i << " " << j;
            EXPECT_EQ(level.producerPremium, figures.producerPremium()) << i << " " << j;
            EXPECT_EQ(level.cheapest, c.cheapest[i][j]) << "scenario " << i << " level " << j;
        }
    }
    for (size_t j = 0; j < 3; ++j) EXPECT_EQ(comparison.scenarios[1].levels[j].change, c.changes[j]) << j;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scenarios, ComparisonCases, testing::Values(
    ComparisonCase{"a commodity added", {5000, 3000, 2000},
        [](Farm& f) { f.set({Control::Cropname1, 3}, "Hay"); f.set({Control::Type1, 3}, "t");
                      f.set({Control::Unit1, 3}, "103"); f.set({Control::Totamt1, 3}, "40");
                      f.set({Control::Expval1, 3}, "120"); },
        {"Hay added, 40 t at $120"}, {S, S, S}, {{{false, false, false}, {false, false, true}}}},
    ComparisonCase{"an expected value halved", {5000, 3000, 2000},
        [](Farm& f) { f.set({Control::Expval1, 0}, "0.5"); },
        {"Commodity 0's expected value 50 % lower"}, {S, S, S}, {{{false, false, false}, {false, false, true}}}},
    ComparisonCase{"an eighth commodity opens .80", {100, 100, 100, 100, 100, 100, 100},
        [](Farm& f) { f.row(7, 100); },
        {"Commodity 7 added, 100 at $1"}, {LevelChange::Opened, S, S}, {{{false, false, true}, {false, false, false}}}},
    ComparisonCase{"a smaller third commodity closes .75", {5000, 3000, 2000},
        [](Farm& f) { f.set({Control::Totamt1, 2}, "500"); },
        {"Commodity 2's amount 75 % lower"}, {S, LevelChange::Closed, S}, {{{false, false, true}, {false, false, false}}}},
    ComparisonCase{"a commodity removed and the MPCI and an income changed", {5000, 3000, 2000, 1000},
        [](Farm& f) { for (Control field : {Control::Cropname1, Control::Unit1, Control::Totamt1, Control::Expval1})
                          f.set({field, 3}, "");
                      f.set({Control::MPCI}, "1000"); f.set({Control::Allinc1, 1}, "90000"); },
        {"Commodity 3 removed", "1994 income $90,000 instead of $100,000", "MPCI liability $1,000 instead of $0"},
        {S, S, S}, {{{false, false, false}, {false, false, true}}}}));
// clang-format on

struct WordingCase {
    const char* what;
    std::vector<std::pair<FieldRef, std::string>> base;
    std::vector<std::pair<FieldRef, std::string>> other;
    std::vector<std::string> words;
};

void PrintTo(const WordingCase& c, std::ostream* os) { *os << c.what; }

class ChangeWords : public testing::TestWithParam<WordingCase> {};

TEST_P(ChangeWords, SayWhatDiffersFromTheBase) {
    const WordingCase& c = GetParam();
    Worksheet base;
    Worksheet other;
    for (const auto& [field, text] : c.base) {
        base.setText(field, text);
        other.setText(field, text);
    }
    for (const auto& [field, text] : c.other) other.setText(field, text);
    EXPECT_EQ(differencesFromBase(base, other), c.words);
}

const FieldRef kName0{Control::Cropname1, 0};
const FieldRef kAmount0{Control::Totamt1, 0};
const FieldRef kValue0{Control::Expval1, 0};
const FieldRef kName1{Control::Cropname1, 1};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Words, ChangeWords, testing::Values(
    WordingCase{"nothing", {{kName0, "Milk"}, {kValue0, "14"}}, {}, {}},
    WordingCase{"a name ending in s", {{kName0, "Oats"}, {kValue0, "2"}}, {{kValue0, "3"}},
        {"Oats' expected value 50 % higher"}},
    WordingCase{"a change under one per cent", {{kName0, "Milk"}, {kAmount0, "1000"}}, {{kAmount0, "1004"}},
        {"Milk's amount less than 1 % higher"}},
    WordingCase{"a value where there was none", {{kName0, "Milk"}}, {{kValue0, "13.5"}},
        {"Milk's expected value $13.50 instead of $0"}},
    WordingCase{"added with cents and no unit", {{kName0, "Milk"}},
        {{kName1, "Hay"}, {{Control::Totamt1, 1}, "2.5"}, {{Control::Expval1, 1}, "4.27"}},
        {"Hay added, 2.5 at $4.27"}},
    WordingCase{"the same name twice, the second removed", {{kName0, "Hay"}, {kName1, "Hay"}},
        {{kName1, ""}}, {"Hay removed"}},
    WordingCase{"expenses", {}, {{{Control::Allexp1, 4}, "5000"}}, {"1997 expenses $5,000 instead of $0"}}));
// clang-format on

TEST(ScenarioComparison, AStoppedPremiumIsAColumnWithItsReason) {
    Farm farm({5000, 3000, 2000});
    ASSERT_TRUE(farm.scenarios.add("empty"));
    for (int row = 0; row < 3; ++row) farm.set({Control::Cropname1, row}, "");
    const ScenarioComparison comparison = farm.compare();
    ASSERT_TRUE(comparison.scenarios[0].summary);
    EXPECT_FALSE(comparison.scenarios[1].summary);
    EXPECT_FALSE(comparison.scenarios[1].problem.empty());
    EXPECT_FALSE(comparison.advice) << "the current scenario has no premium to advise on";
    const ComparisonTable table = comparisonTable(comparison);
    ASSERT_EQ(table.columns.size(), 2u);
    EXPECT_EQ(table.columns[1][1], "Cannot be calculated: " + comparison.scenarios[1].problem);
    EXPECT_EQ(table.columns[1].size(), table.headings.size());
}

TEST(ScenarioComparison, TheTicksForThePaperAreKeptInTheCase) {
    Farm farm({5000, 3000, 2000});
    ASSERT_TRUE(farm.scenarios.add("second"));
    EXPECT_TRUE(farm.scenarios.setForPaper(1, true));
    EXPECT_FALSE(farm.scenarios.setForPaper(2, true));
    // Switching and adding keep each scenario's tick with it.
    ASSERT_TRUE(farm.scenarios.switchTo(0));
    ASSERT_TRUE(farm.scenarios.add("third"));
    ASSERT_TRUE(farm.scenarios.move(1, 2));
    const ScenarioComparison comparison = farm.compare();
    ASSERT_EQ(comparison.scenarios.size(), 3u);
    EXPECT_FALSE(comparison.scenarios[0].forPaper);
    EXPECT_EQ(comparison.scenarios[1].name, "third");
    EXPECT_FALSE(comparison.scenarios[1].forPaper);
    EXPECT_EQ(comparison.scenarios[2].name, "second");
    EXPECT_TRUE(comparison.scenarios[2].forPaper);
}

TEST(ScenarioComparison, TheThresholdOfACountIsTheOneTheSharesUse) {
    for (size_t n = 1; n <= 14; ++n) {
        const std::vector<double> kbts(n, 1.0);
        EXPECT_EQ(significanceThreshold(n), commodityShares(kbts, static_cast<double>(n)).threshold) << n;
    }
}

struct AdviceCase {
    const char* what;
    std::vector<int> amounts;
    int counted;
    const char* coverage;  // none when every level is offered
    const char* words;
};

void PrintTo(const AdviceCase& c, std::ostream* os) { *os << c.what; }

class NextLevel : public testing::TestWithParam<AdviceCase> {};

TEST_P(NextLevel, SaysWhatTheCountRuleNeedsInTheFarmsFigures) {
    const AdviceCase& c = GetParam();
    Farm farm(c.amounts);
    const ScenarioComparison comparison = farm.compare();
    ASSERT_TRUE(comparison.advice);
    ASSERT_TRUE(comparison.scenarios[0].summary);
    EXPECT_EQ(comparison.scenarios[0].summary->premium.significantCount, c.counted);
    EXPECT_EQ(comparison.advice->coverage.value_or("none"), c.coverage);
    EXPECT_EQ(comparison.advice->words, c.words);
    if (!comparison.advice->coverage) return;
    EXPECT_EQ(tryName(farm.scenarios, *comparison.advice), std::string("Try ") + c.coverage);
    ASSERT_TRUE(farm.scenarios.add(tryName(farm.scenarios, *comparison.advice)));
    EXPECT_EQ(tryName(farm.scenarios, *comparison.advice), std::string("Try ") + c.coverage + " (2)");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Counts, NextLevel, testing::Values(
    AdviceCase{"one commodity", {1000}, 1, ".75",
        "The .75 level needs 3 commodities that each bring at least 16.7% of the expected revenue when there are 3 "
        "(half an even share; shares to a tenth of a per cent); this farm has 1 that counts of its 1 commodity. "
        "It needs at least 2 more commodities; with more than 3 each needs a smaller share."},
    AdviceCase{"one counts of three", {9000, 600, 400}, 1, ".75",
        "The .75 level needs 3 commodities that each bring at least 16.7% of the expected revenue when there are 3 "
        "(half an even share; shares to a tenth of a per cent); this farm has 1 that counts of its 3 commodities. "
        "With 3 a commodity counts from 16.7%; 2 more must reach it, the nearest being Commodity 1 at 6.0% and "
        "Commodity 2 at 4.0%."},
    AdviceCase{"three count", {5000, 3000, 2000}, 3, ".80",
        "The .80 level needs 8 commodities that each bring at least 6.3% of the expected revenue when there are 8 "
        "(half an even share; shares to a tenth of a per cent); this farm has 3 that count of its 3 commodities. "
        "It needs at least 5 more commodities; with more than 8 each needs a smaller share."},
    AdviceCase{"five count of nine", {2000, 2000, 2000, 2000, 1000, 300, 200, 100, 50}, 5, ".80",
        "The .80 level needs 8 commodities that each bring at least 6.3% of the expected revenue when there are 8 "
        "(half an even share; shares to a tenth of a per cent); this farm has 5 that count of its 9 commodities. "
        "With 9 a commodity counts from 5.6%; 3 more must reach it, the nearest being Commodity 5 at 3.1%, "
        "Commodity 6 at 2.1% and Commodity 7 at 1.0%."},
    AdviceCase{"eight count", {100, 100, 100, 100, 100, 100, 100, 100}, 8, "none",
        "Every coverage level is offered: 8 of the farm's 8 commodities each bring at least 6.3% of the expected "
        "revenue (half an even share), and the .80 level needs 8."}));
// clang-format on

// The farmer's paper takes the ticked scenarios only, marks the lowest
// premium per $1,000 among them, and says what each changed.
TEST(PaperOptions, TheTickedScenariosSideBySide) {
    ScenarioComparison comparison;
    const auto scenario = [&](const char* name, bool ticked, std::vector<std::string> changes, double perThousand) {
        ComparedScenario s;
        s.name = name;
        s.forPaper = ticked;
        s.differences = std::move(changes);
        if (perThousand > 0) {
            s.summary.emplace();
            s.levels.back() = {".65", true, 100000, 600, perThousand, false, LevelChange::Same};
        }
        comparison.scenarios.push_back(std::move(s));
    };
    EXPECT_TRUE(paperOptions(comparison).names.empty());
    scenario("base", true, {}, 6.0);
    scenario("cheaper", false, {"Hay added"}, 5.0);  // not ticked: its 5.00 is no one's lowest
    scenario("milk", true, {"Milk 50 % lower"}, 5.5);
    scenario("broken", true, {"County changed"}, 0);

    const PaperOptions paper = paperOptions(comparison);
    EXPECT_EQ(paper.names, (std::vector<std::string>{"base", "milk", "broken"}));
    EXPECT_EQ(paper.changes, (std::vector<std::string>{"base: the farm as entered.", "milk: Milk 50 % lower.",
                                                       "broken: County changed."}));
    ASSERT_EQ(paper.columns.size(), 3u);
    for (const auto& column : paper.columns) ASSERT_EQ(column.size(), paper.headings.size());
    EXPECT_EQ(paper.columns[0].front(), "65%");
    EXPECT_EQ(paper.columns[0][1], "Not offered");
    EXPECT_EQ(paper.columns[0].back(), "$6.00");
    EXPECT_EQ(paper.columns[1].back(), "$5.50 (lowest)");
    EXPECT_EQ(paper.columns[2].front(), "Cannot be estimated as it stands");
}

}  // namespace
}  // namespace kbt2
