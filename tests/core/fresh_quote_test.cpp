// The premium's details from a fresh calculation on a copy: equal to the
// fields a run on the worksheet itself writes, equal to the hand-worked
// examples of shares and factors, and leaving the worksheet untouched.

#include "quote/fresh_quote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/numbers.h"
#include "commands/premium.h"
#include "commands/premium_warnings.h"
#include "fake_platform.h"
#include "rate_records.h"
#include "worksheet/premium_rows.h"

namespace kbt2 {
namespace {

namespace fs = std::filesystem;
using testing_support::FakePlatform;
using testing_support::RateFields;
using testing_support::rateRecord;

// A Michigan farm in Kent county with five incomes of 1000 and one rate
// record per commodity code 100 + row, the rates differing by row.
class FreshQuoteTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(KBT2_TEST_SCRATCH_DIR) / "fresh_quote" /
               (std::string(test->test_suite_name()) + "." + test->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        platform.folders = {dir_.string()};
        ws.select({Control::St, 0});
        ws.select({Control::Mi1, 2});
        for (int k = 0; k < 5; ++k) ws.setText({Control::Allinc1, k}, "1000");
        ws.setText({Control::Averageinc}, "1000");
    }

    // Rows with the given KBTs (amount times 1); `withRecord` false leaves
    // the last row without a rate record.
    void farm(const std::vector<int>& kbts, bool withRecord = true, char livestockOfFirst = 'N') {
        std::ofstream out(dir_ / "Ratefile.prn", std::ios::binary);
        out << rateRecord({.code = " 999"}) << "\r\n";  // line 1 matches no row
        for (size_t i = 0; i < kbts.size(); ++i) {
            const int row = static_cast<int>(i);
            ws.setText({Control::Cropname1, row}, "Commodity " + std::to_string(row));
            ws.setText({Control::Unit1, row}, std::to_string(100 + row));
            ws.setText({Control::Totamt1, row}, std::to_string(kbts[i]));
            ws.setText({Control::Expval1, row}, "1");
            if (!withRecord && i + 1 == kbts.size()) continue;
            out << rateRecord({.code = std::to_string(100 + row),
                               .livestock = i == 0 ? livestockOfFirst : 'N',
                               .rate80 = "0.08" + std::to_string(row % 10),
                               .rate75 = "0.06" + std::to_string(row % 10),
                               .rate65 = "0.04" + std::to_string(row % 10)})
                << "\r\n";
        }
    }

    QuoteSummary fresh() {
        RateFileSource rates;
        FreshQuote quote = freshQuote(ws, platform, rates, "farm.wsk");
        EXPECT_TRUE(quote.summary) << quote.problem;
        return quote.summary.value_or(QuoteSummary{});
    }

    Worksheet ws;
    FakePlatform platform;
    fs::path dir_;
};

// Every figure of the details is the text the same run writes into its field.
void expectEqualsFields(const QuoteSummary& s, const Worksheet& ws) {
    const auto field = [&](FieldRef f) { return ws.text(f); };
    EXPECT_EQ(plainText(s.premium.projectedKbt), field({Control::Projkbt}));
    EXPECT_EQ(plainText(s.premium.totalExpectedKbt), field({Control::Text15, 0}));
    EXPECT_EQ(plainText(s.premium.allowableKbt), field({Control::Text21}));
    EXPECT_EQ(std::to_string(s.commodities.size()), field({Control::Croptext}));
    for (const PremiumWarningTexts& warning : kPremiumWarningTexts)
        EXPECT_EQ(std::ranges::count(s.premium.warnings, warning.kind) ? "Yes" : "No", field({warning.result}));
    for (int column = 0; column < kPremiumColumns; ++column) {
        const PremiumColumn& level = s.premium.columns[static_cast<size_t>(column)];
        EXPECT_EQ(level.offered, ws.visible({Control::Text23, column}));
        if (!level.offered) continue;
        EXPECT_EQ(plainText(level.indemnityThreshold()), field({Control::Text23, column}));
        EXPECT_EQ(plainText(level.weightedRate()), field({Control::Text24, column}));
        EXPECT_EQ(plainText(level.diversificationFactor()), field({Control::Text25, column}));
        EXPECT_EQ(plainText(level.kbtRate()), field({Control::Text26, column}));
        EXPECT_EQ(plainText(level.kbtLiability()), field({Control::Text27, column}));
        EXPECT_EQ(plainText(level.netKbtLiability()), field({Control::Text28, column}));
        EXPECT_EQ(plainText(level.grossPremium()), field({Control::Text16, column}));
        EXPECT_EQ(plainText(level.subsidy()), field({Control::Text17, column}));
        EXPECT_EQ(plainText(level.producerPremium()), field({Control::Text18, column}));
    }
}

struct ExampleCase {
    const char* what;
    std::vector<int> kbts;
    std::vector<double> shares;
    double equalShare;
    double deviationSum;
    double threshold;
    int significant;
    const char* factor;
    std::array<bool, 3> offered;
};

void PrintTo(const ExampleCase& c, std::ostream* os) { *os << c.what; }

class FreshQuoteExamples : public FreshQuoteTest, public testing::WithParamInterface<ExampleCase> {};

TEST_P(FreshQuoteExamples, MatchTheHandWorkedFiguresAndTheFields) {
    const ExampleCase& c = GetParam();
    farm(c.kbts);
    const QuoteSummary s = fresh();
    ASSERT_EQ(s.commodities.size(), c.kbts.size());
    ASSERT_EQ(s.premium.rows.size(), c.kbts.size());
    for (size_t i = 0; i < c.kbts.size(); ++i) {
        EXPECT_EQ(s.premium.rows[i].kbt, c.kbts[i]);
        EXPECT_DOUBLE_EQ(s.premium.rows[i].share, c.shares[i]) << "row " << i;
    }
    EXPECT_DOUBLE_EQ(s.premium.equalShare, c.equalShare);
    EXPECT_DOUBLE_EQ(s.premium.deviationSum, c.deviationSum);
    EXPECT_DOUBLE_EQ(s.premium.threshold, c.threshold);
    EXPECT_EQ(s.premium.significantCount, c.significant);
    EXPECT_EQ(plainText(s.premium.diversificationFactor), c.factor);
    for (size_t j = 0; j < 3; ++j) EXPECT_EQ(s.premium.columns[j].offered, c.offered[j]) << "column " << j;

    // The worksheet itself is untouched; a run on it writes what the details say.
    EXPECT_TRUE(ws.text({Control::Text21}).empty());
    command4Click(ws, platform);
    expectEqualsFields(s, ws);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Examples, FreshQuoteExamples, testing::Values(
    ExampleCase{"two commodities 70 and 30", {70, 30}, {0.7, 0.3}, 0.5, 0.4, 0.25, 2, "0.725", {false, false, true}},
    ExampleCase{"five commodities 60, 20, 10, 5, 5", {60, 20, 10, 5, 5}, {0.6, 0.2, 0.1, 0.05, 0.05}, 0.2, 0.8, 0.1, 3,
                "0.606", {false, true, true}},
    ExampleCase{"one commodity", {500}, {1}, 1, 0, 0.5, 1, "1", {false, false, true}},
    ExampleCase{"fourteen equal commodities", std::vector<int>(14, 50), std::vector<double>(14, 0.071), 0.071, 0, 0.036,
                14, "0.41", {true, true, true}}));
// clang-format on

TEST_F(FreshQuoteTest, EachRowKeepsItsRatesFlagsAndWeightedTerms) {
    farm({60, 40}, true, 'Y');
    const QuoteSummary s = fresh();
    ASSERT_EQ(s.commodities.size(), 2U);
    ASSERT_EQ(s.premium.rows.size(), 2U);
    const SummaryCommodity& first = s.commodities[0];
    EXPECT_EQ(first.name, "Commodity 0");
    EXPECT_EQ(first.code, "100");
    EXPECT_TRUE(s.premium.rows[0].livestock);
    EXPECT_EQ(first.recordLine, std::optional<std::uint64_t>(2));  // line 1 is another commodity's
    EXPECT_EQ(s.commodities[1].recordLine, std::optional<std::uint64_t>(3));
    EXPECT_EQ(s.premium.rows[0].rates, (std::array<double, 3>{0.08, 0.06, 0.04}));
    // 0.08 × 0.6 = 0.048; 0.06 × 0.6 = 0.036; 0.04 × 0.6 = 0.024.
    EXPECT_EQ(s.premium.rows[0].weighted, (std::array<double, 3>{0.048, 0.036, 0.024}));
    EXPECT_DOUBLE_EQ(s.premium.livestockShare, 0.6);
    EXPECT_EQ(s.premium.warnings,
              (std::vector{PremiumWarning::LivestockOver35, PremiumWarning::LivestockOrInsurableOver50}));
    EXPECT_EQ(s.rateFile.records, 3U);
    EXPECT_EQ(fs::path(s.rateFile.path).filename(), "Ratefile.prn");
    // The livestock warning was answered quietly: nobody saw a message.
    EXPECT_TRUE(platform.messages.empty());
}

// Two commodities offer .65 alone; the hidden columns' figures are still
// given, as the table's steps compute them before the page empties them.
TEST_F(FreshQuoteTest, HiddenLevelsKeepTheirFigures) {
    farm({70, 30});
    const QuoteSummary s = fresh();
    const PremiumColumn& hidden = s.premium.columns[0];
    EXPECT_FALSE(hidden.offered);
    // A = 100: threshold 100 × 0.8, liability 100 × 0.75 × 0.8; weighted
    // rate 0.08 × 0.7 + 0.081 × 0.3 = 0.056 + 0.024, factor 0.725.
    EXPECT_EQ(hidden.indemnityThreshold(), 80);
    EXPECT_EQ(hidden.kbtLiability(), 60);
    EXPECT_DOUBLE_EQ(hidden.weightedRate(), 0.08);
    EXPECT_EQ(plainText(hidden.diversificationFactor()), "0.725");
    EXPECT_DOUBLE_EQ(hidden.kbtRate(), 0.058);
    EXPECT_EQ(hidden.grossPremium(), 3);  // 0.058 × 60 = 3.48
    EXPECT_EQ(hidden.producerPremium(), 2);
    EXPECT_EQ(hidden.subsidy(), 1);
    EXPECT_EQ(s.premium.columns[1].indemnityThreshold(), 75);
}

TEST_F(FreshQuoteTest, ARowWithoutARecordHasRatesZeroAndStillItsShare) {
    farm({50, 30, 20}, false);
    const QuoteSummary s = fresh();
    ASSERT_EQ(s.commodities.size(), 3U);
    ASSERT_EQ(s.premium.rows.size(), 3U);
    EXPECT_EQ(s.premium.rows[2].rates, (std::array<double, 3>{0, 0, 0}));
    EXPECT_FALSE(s.commodities[2].recordLine);
    EXPECT_EQ(s.commodities[1].recordLine, std::optional<std::uint64_t>(3));
    EXPECT_EQ(s.premium.rows[2].weighted, (std::array<double, 3>{0, 0, 0}));
    EXPECT_DOUBLE_EQ(s.premium.rows[2].share, 0.2);
    EXPECT_EQ(s.premium.significantCount, 3);
}

TEST_F(FreshQuoteTest, APremiumThatCannotBeCalculatedGivesItsMessage) {
    const FreshQuote quote = [&] {
        RateFileSource rates;
        return freshQuote(ws, platform, rates, "farm.wsk");
    }();
    EXPECT_FALSE(quote.summary);
    EXPECT_NE(quote.problem.find("There is no commodity in the Commodity Report"), std::string::npos);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FreshQuoteTest, TheCaseNamesTheCountyChosenOnPageTwo) {
    farm({100});
    ws.setText({Control::Producer1}, "Hansen Farms");
    ws.setText({Control::Agent1}, "Valley Agency");
    ws.setText({Control::Allexp1, 4}, "700");
    const QuoteSummary s = fresh();
    EXPECT_EQ(s.producer, "Hansen Farms");
    EXPECT_EQ(s.agency, "Valley Agency");
    EXPECT_EQ(s.state, "Michigan");
    EXPECT_EQ(s.county, "Kent");
    EXPECT_EQ(s.income[0], 1000);
    EXPECT_EQ(s.expenses[4], 700);
    EXPECT_EQ(s.worksheetName, "farm.wsk");
}

}  // namespace
}  // namespace kbt2
