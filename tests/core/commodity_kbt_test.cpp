#include "commands/commodity_kbt.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "fake_platform.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;

auto caseName = [](const auto& info) { return std::string(info.param.name); };

struct LengthCase {
    const char* name;
    std::vector<int> namedRows;
    int length;
};
void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.name; }

class ReportLength : public testing::TestWithParam<LengthCase> {};

TEST_P(ReportLength, CountsRowsUpToTheFirstGap) {
    Worksheet ws;
    for (int row : GetParam().namedRows) ws.setText({Control::Cropname1, row}, "Corn");
    EXPECT_EQ(reportLength(ws), GetParam().length);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reports, ReportLength, testing::Values(
    LengthCase{"EmptyReportCountsRowZero",  {},                                          1},
    LengthCase{"ThreeRowsFromTheTop",       {0, 1, 2},                                   3},
    LengthCase{"UnnamedRowZeroStillCounts", {1, 2},                                      3},
    LengthCase{"GapEndsTheReport",          {0, 2, 3},                                   1},
    LengthCase{"ThirteenRows",              {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},  13},
    LengthCase{"AllFourteenRows",           {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, 14},
    LengthCase{"NameInRow13MakesFourteen",  {13},                                        14},
    LengthCase{"Row13WinsOverAGap",         {0, 1, 5, 13},                               14}),
    caseName);
// clang-format on

struct Row {
    const char* name;
    const char* amount;
    const char* value;
};

void fill(Worksheet& ws, const std::vector<Row>& rows) {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        ws.setText({Control::Cropname1, i}, rows[static_cast<size_t>(i)].name);
        ws.setText({Control::Totamt1, i}, rows[static_cast<size_t>(i)].amount);
        ws.setText({Control::Expval1, i}, rows[static_cast<size_t>(i)].value);
    }
}

std::vector<std::string> totals(const Worksheet& ws, int rows) {
    std::vector<std::string> texts;
    for (int i = 0; i < rows; ++i) texts.push_back(ws.text({Control::Total1, i}));
    return texts;
}

struct KbtCase {
    const char* name;
    std::vector<Row> rows;
    std::vector<std::string> rowKbts;
    std::string total;
};
void PrintTo(const KbtCase& c, std::ostream* os) { *os << c.name; }

class CommodityKbt : public testing::TestWithParam<KbtCase> {};

TEST_P(CommodityKbt, WritesRowKbtsAndTheirSum) {
    Worksheet ws;
    FakePlatform platform;
    fill(ws, GetParam().rows);
    command3Click(ws, platform);
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text;
    EXPECT_EQ(totals(ws, static_cast<int>(GetParam().rowKbts.size())), GetParam().rowKbts);
    EXPECT_EQ(ws.text({Control::Text15, 1}), GetParam().total);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reports, CommodityKbt, testing::Values(
    KbtCase{"WorkedExample",        {{"Corn", "100", "2.35"}, {"Oats", "250.5", "1.2"}, {"Rye", "40", "0.5"}},
            {"235", "301", "20"}, "556"},
    KbtCase{"HalfRoundsUp",         {{"Corn", "0.25", "2"}},             {"1"},  "1"},
    KbtCase{"NegativeHalfRoundsUp", {{"Corn", "-1", "2.5"}},             {"-2"}, "-2"},
    KbtCase{"NegativesPassChecks",  {{"Corn", "-10", "-3"}, {"Oats", "5", "1"}}, {"30", "5"}, "35"},
    KbtCase{"ExponentsAccepted",    {{"Corn", "1e2", "2.5E-1"}},         {"25"}, "25"},
    KbtCase{"BlanksAroundAccepted", {{"Corn", " 10 ", " 3 "}},           {"30"}, "30"}),
    caseName);
// clang-format on

TEST(CommodityKbt, FourteenRowsAreAllComputedAndSummed) {
    Worksheet ws;
    FakePlatform platform;
    fill(ws, std::vector<Row>(14, {"Corn", "10", "1.5"}));
    command3Click(ws, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ws.text({Control::Total1, 13}), "15");
    EXPECT_EQ(ws.text({Control::Text15, 1}), "210");
}

TEST(CommodityKbt, AGapEndsTheSumButLaterNamedRowsAreComputed) {
    Worksheet ws;
    FakePlatform platform;
    fill(ws, {{"Corn", "10", "2"}, {"", "7", "7"}, {"Oats", "3", "3"}});
    ws.setText({Control::Total1, 1}, "old");
    command3Click(ws, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(totals(ws, 3), (std::vector<std::string>{"20", "old", "9"}));
    EXPECT_EQ(ws.text({Control::Text15, 1}), "20");
}

struct CheckCase {
    const char* name;
    std::vector<Row> rows;
    std::string message;
};
void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class CommodityChecks : public testing::TestWithParam<CheckCase> {};

TEST_P(CommodityChecks, StopAtTheFirstFailedCheckWithRowValuesWritten) {
    Worksheet ws;
    FakePlatform platform;
    ws.setText({Control::Text15, 1}, "earlier");
    fill(ws, GetParam().rows);
    command3Click(ws, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, GetParam().message);
    EXPECT_EQ(platform.messages[0].title, "KBT2");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::OK);
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ws.text({Control::Text15, 1}), "earlier");
    // The named rows' KBTs were written before the checks.
    EXPECT_EQ(ws.text({Control::Total1, 0}).empty(), GetParam().rows.empty());
}

const char* const kAmountZero = "You've entered invalid characters or zero in Total Amount box line ";
const char* const kValueZero = "You've entered invalid characters or zero in Expected value box line ";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reports, CommodityChecks, testing::Values(
    CheckCase{"EmptyReportFailsRowOne",   {},
              std::string(kAmountZero) + "1(e.g. $, Comma)"},
    CheckCase{"ZeroAmount",               {{"Corn", "5", "1"}, {"Oats", "0", "1"}},
              std::string(kAmountZero) + "2(e.g. $, Comma)"},
    CheckCase{"DollarAmountReadsZero",    {{"Corn", "5", "1"}, {"Oats", "$12", "1"}},
              std::string(kAmountZero) + "2(e.g. $, Comma)"},
    CheckCase{"LettersAfterAmount",       {{"Corn", "5", "1"}, {"Oats", "12abc", "1"}},
              std::string(kAmountZero) + "2(e.g. $, Comma)"},
    CheckCase{"GroupingCommaAmount",      {{"Corn", "5", "1"}, {"Oats", "1,000", "1"}},
              "You have entered either a comma or a $ in the Total amount box 2"},
    CheckCase{"AmountZeroBeforeComma",    {{"Corn", "1,000", "1"}, {"Oats", "0", "1"}},
              std::string(kAmountZero) + "2(e.g. $, Comma)"},
    CheckCase{"AmountCommaBeforeValue",   {{"Corn", "5", "$1"}, {"Oats", "5", "1"}, {"Rye", "1,5", "1"}},
              "You have entered either a comma or a $ in the Total amount box 3"},
    CheckCase{"ValueCommaBeforeValueZero",{{"Corn", "5", "0"}, {"Oats", "5", "1,5"}},
              "You have entered either a comma or a $ in the Expected value box 2"},
    CheckCase{"DollarValue",              {{"Corn", "5", "1"}, {"Oats", "5", "$1"}},
              "You have entered either a comma or a $ in the Expected value box 2"},
    CheckCase{"ZeroValue",                {{"Corn", "5", "1"}, {"Oats", "5", "1"}, {"Rye", "5", "0"}},
              std::string(kValueZero) + "3 (e.g. $, Comma)"},
    CheckCase{"EmptyValue",               {{"Corn", "5", ""}},
              std::string(kValueZero) + "1 (e.g. $, Comma)"}),
    caseName);
// clang-format on

TEST(CommodityChecks, NameInRow13MakesEarlierEmptyRowsFail) {
    Worksheet ws;
    FakePlatform platform;
    fill(ws, {{"Corn", "10", "2"}});
    ws.setText({Control::Cropname1, 13}, "Oats");
    ws.setText({Control::Totamt1, 13}, "4");
    ws.setText({Control::Expval1, 13}, "4");
    command3Click(ws, platform);
    EXPECT_EQ(platform.messageTexts(), (std::vector<std::string>{std::string(kAmountZero) + "2(e.g. $, Comma)"}));
    EXPECT_EQ(ws.text({Control::Total1, 13}), "16");
}

TEST(CommodityChecks, AProductOutOfRangeWritesNothing) {
    Worksheet ws;
    FakePlatform platform;
    fill(ws, {{"Corn", "10", "2"}, {"Oats", "1e200", "1e200"}});
    command3Click(ws, platform);
    EXPECT_EQ(platform.messageTexts(),
              (std::vector<std::string>{
                  "The KBT is too large to calculate. Check the Total Amount and the Expected value of line 2"}));
    EXPECT_EQ(totals(ws, 2), (std::vector<std::string>{"", ""}));
}

TEST(CommodityChecks, ASumOutOfRangeIsNotWritten) {
    Worksheet ws;
    FakePlatform platform;
    fill(ws, {{"Corn", "1e308", "1"}, {"Oats", "1e308", "1"}});
    ws.setText({Control::Text15, 1}, "earlier");
    command3Click(ws, platform);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(ws.text({Control::Total1, 1}), "1" + std::string(308, '0'));
    EXPECT_EQ(ws.text({Control::Text15, 1}), "earlier");
}

}  // namespace
}  // namespace kbt2
