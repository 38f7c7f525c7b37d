#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "commands/preliminary_kbt.h"
#include "fake_platform.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;
using Five = std::array<const char*, 5>;

void enter(Worksheet& ws, const Five& incomes, const Five& expenses) {
    for (int k = 0; k < 5; ++k) {
        ws.setText({Control::Allinc1, k}, incomes[static_cast<size_t>(k)]);
        ws.setText({Control::Allexp1, k}, expenses[static_cast<size_t>(k)]);
    }
}

constexpr Control kResults[] = {Control::Totalinc,   Control::Totalexp, Control::Averageinc, Control::Averageexp,
                                Control::GrowthFact, Control::Text29,   Control::Text30};

std::vector<std::string> results(const Worksheet& ws) {
    std::vector<std::string> texts;
    for (Control c : kResults) texts.push_back(ws.text({c}));
    return texts;
}

struct ResultCase {
    const char* name;
    Five incomes;
    Five expenses;
    // Totalinc, Totalexp, Averageinc, Averageexp, GrowthFact, Text29, Text30
    std::vector<std::string> expected;
};
void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class PreliminaryResults : public testing::TestWithParam<ResultCase> {};

TEST_P(PreliminaryResults, WritesTheSevenFields) {
    Worksheet ws;
    FakePlatform platform;
    enter(ws, GetParam().incomes, GetParam().expenses);
    command2Click(ws, platform);
    EXPECT_TRUE(platform.messages.empty()) << platform.messages.front().text;
    EXPECT_EQ(results(ws), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, PreliminaryResults, testing::Values(
    ResultCase{"WorkedExample",             {"100", "110", "121", "133.1", "146.41"}, {"60", "62", "64", "66", "68"},
               {"611", "320", "122.102", "64", "1.464", "179", "94"}},
    ResultCase{"EqualIncomesGiveFactorOne", {"100", "100", "100", "100", "100"},      {"50", "50", "50", "50", "50"},
               {"500", "250", "100", "50", "1", "100", "50"}},
    ResultCase{"AverageAbove1997Resets",    {"100", "120", "144", "172.8", "100"},    {"0", "0", "0", "0", "0"},
               {"637", "0", "127.36", "0", "1", "127", "0"}},
    ResultCase{"AverageAbove1996Resets",    {"100", "120", "144", "100", "250"},      {"0", "0", "0", "0", "0"},
               {"714", "0", "142.8", "0", "1", "143", "0"}},
    ResultCase{"FallingIncomeResets",       {"200", "180", "160", "140", "120"},      {"1", "1", "1", "1", "1"},
               {"800", "5", "160", "1", "1", "160", "1"}},
    ResultCase{"AverageEqual1996Kept",      {"100", "100", "100", "110", "140"},      {"10", "10", "10", "10", "10"},
               {"550", "50", "110", "10", "1.335", "147", "13"}},
    ResultCase{"RatioOfThreeBoundedToMax",  {"100", "300", "360", "432", "518.4"},    {"0", "0", "0", "0", "0"},
               {"1710", "0", "342.08", "0", "2.074", "709", "0"}},
    ResultCase{"NegativeRatioBoundedLow",   {"-100", "100", "110", "121", "133.1"},   {"0", "0", "0", "0", "0"},
               {"364", "0", "72.82", "0", "1.104", "80", "0"}},
    ResultCase{"CentsRoundHalfUp",          {"100.5", "100.5", "100.5", "100.5", "100.5"}, {"1", "1", "1", "1", "1"},
               {"503", "5", "100.5", "1", "1", "101", "1"}},
    ResultCase{"BlanksAndExponentAccepted", {" 1e2 ", "1.1E2", "121", "133.1", "146.41"}, {"60", "62", "64", "66", "68"},
               {"611", "320", "122.102", "64", "1.464", "179", "94"}},
    ResultCase{"Zero1997IsNoDivisor",       {"100", "110", "121", "133.1", "0"},      {"0", "0", "0", "0", "0"},
               {"464", "0", "92.82", "0", "1", "93", "0"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct MessageCase {
    const char* name;
    Five incomes;
    Five expenses;
    std::string message;
};
void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class PreliminaryMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(PreliminaryMessages, ShowsOneMessageAndWritesNothing) {
    Worksheet ws;
    FakePlatform platform;
    // Results of an earlier run must survive the failed one.
    enter(ws, {"100", "110", "121", "133.1", "146.41"}, {"60", "62", "64", "66", "68"});
    command2Click(ws, platform);
    const auto before = results(ws);

    enter(ws, GetParam().incomes, GetParam().expenses);
    command2Click(ws, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    const Message& m = platform.messages.front();
    EXPECT_EQ(m.text, GetParam().message);
    EXPECT_EQ(m.title, "KBT2");
    EXPECT_EQ(m.buttons, MessageButtons::OK);
    EXPECT_EQ(m.icon, MessageIcon::None);
    EXPECT_EQ(results(ws), before);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, PreliminaryMessages, testing::Values(
    MessageCase{"GroupingCommaInIncome2",  {"100", "1,000", "121", "133.1", "146.41"}, {"1", "1", "1", "1", "1"},
                "You have entered either a comma or a $ in the AllowableIncome box 2"},
    MessageCase{"LettersInIncome2",        {"100", "abc", "121", "133.1", "146.41"},   {"1", "1", "1", "1", "1"},
                "You have not entered a correct number in the Allowable Income box 2"},
    MessageCase{"EmptyIncome2",            {"100", "", "121", "133.1", "146.41"},      {"1", "1", "1", "1", "1"},
                "You have not entered a correct number in the Allowable Income box 2"},
    MessageCase{"TrailingLettersIncome1",  {"12abc", "110", "121", "133.1", "146.41"}, {"1", "1", "1", "1", "1"},
                "You have not entered a correct number in the Allowable Income box 1"},
    MessageCase{"ExpenseNumberBeforeComma",{"100", "110", "121", "133.1", "1,46"},     {"", "1", "1", "1", "1"},
                "You have not entered a correct number in the Allowable Expenses box 1"},
    MessageCase{"AllIncomesBeforeExpenses",{"100", "110", "121", "133.1", "x"},        {"x", "1", "1", "1", "1"},
                "You have not entered a correct number in the Allowable Income box 5"},
    MessageCase{"DollarInExpense3",        {"100", "110", "121", "133.1", "146.41"},   {"1", "1", "$500", "1", "1"},
                "You have  entered either a comma or a $ in the Allowable Expense box 3"},
    MessageCase{"IncomeCommaBeforeExpense",{"100", "110", "121", "133.1", "$5"},       {"1,0", "1", "1", "1", "1"},
                "You have entered either a comma or a $ in the AllowableIncome box 5"},
    MessageCase{"ZeroIncome1995",          {"100", "110", "0", "133.1", "146.41"},     {"1", "1", "1", "1", "1"},
                "The adjustment factor cannot be calculated from a zero income. Enter the income of the "
                "Allowable Income box 3"},
    MessageCase{"ZeroAfterOtherChecks",    {"0", "110", "121", "133.1", "146.41"},     {"1", "1", "1", "1", "1,0"},
                "You have  entered either a comma or a $ in the Allowable Expense box 5"},
    MessageCase{"SumOverflows",            {"1e308", "1e308", "1e308", "1e308", "1e308"}, {"1", "1", "1", "1", "1"},
                "The figures are too large to calculate. Check the Allowable Income and Allowable Expenses boxes."},
    MessageCase{"ExpenseOutOfRange",       {"100", "110", "121", "133.1", "146.41"},   {"1e400", "1", "1", "1", "1"},
                "The figures are too large to calculate. Check the Allowable Income and Allowable Expenses boxes."}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace kbt2
