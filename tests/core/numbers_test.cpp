#include "calc/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace kbt2 {
namespace {

// Test names come from the case rows, not from gtest's byte dumps.
auto caseName = [](const auto& info) { return std::string(info.param.name); };

const std::string kFourHundredNines(400, '9');

struct ValueCase {
    const char* name;
    std::string text;
    double value;
};
void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class NumericValue : public testing::TestWithParam<ValueCase> {};

TEST_P(NumericValue, ReadsTheLeadingNumber) { EXPECT_EQ(numericValue(GetParam().text), GetParam().value); }

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, NumericValue, testing::Values(
    ValueCase{"EmptyIsZero",                "",              0},
    ValueCase{"WholeNumber",                "122",           122},
    ValueCase{"DecimalFraction",            "133.1",         133.1},
    ValueCase{"LeadingBlanksAndMinus",      "  -2.5",        -2.5},
    ValueCase{"PlusSign",                   "+7",            7},
    ValueCase{"PointFirst",                 ".5",            0.5},
    ValueCase{"MinusPointFirst",            "-.5",           -0.5},
    ValueCase{"TrailingPoint",              "5.",            5},
    ValueCase{"PointThenExponent",          "5.e2",          500},
    ValueCase{"Exponent",                   "1e3",           1000},
    ValueCase{"NegativeExponentThenLetter", "1.5E-2x",       0.015},
    ValueCase{"ExponentWithoutDigits",      "1e",            1},
    ValueCase{"ExponentSignWithoutDigits",  "1e+",           1},
    ValueCase{"GroupingCommaEndsTheNumber", "1,000",         1},
    ValueCase{"CommaIsNoDecimalSeparator",  "2,5",           2},
    ValueCase{"DollarFirstReadsZero",       "$500",          0},
    ValueCase{"HexPrefixReadsZero",         "&H10",          0},
    ValueCase{"BlanksInsideAreSkipped",     "1 2 3",         123},
    ValueCase{"BlankAfterSign",             "- 5",           -5},
    ValueCase{"TabsAndLineFeedsSkipped",    "\t7\n",         7},
    ValueCase{"CarriageReturnEndsNumber",   "7\r8",          7},
    ValueCase{"LeadingZeros",               " 041",          41},
    ValueCase{"TrailingLetters",            "12abc",         12},
    ValueCase{"LettersOnly",                "abc",           0},
    ValueCase{"SignAlone",                  "-",             0},
    ValueCase{"DoubleSign",                 "--5",           0},
    ValueCase{"SecondPointEnds",            "1.2.3",         1.2},
    ValueCase{"NegativeZero",               "-0",            0},
    ValueCase{"SubnormalKept",              "4e-320",        4e-320},
    ValueCase{"ExponentOverflowIsInfinite", "1e400",         HUGE_VAL},
    ValueCase{"NegativeOverflow",           "-1e400",        -HUGE_VAL},
    ValueCase{"LongDigitsOverflow",         kFourHundredNines, HUGE_VAL},
    ValueCase{"LongDigitsWithSmallExponent", kFourHundredNines + "e-100", 1e300},
    ValueCase{"LongDigitsScaledBack",       "1" + std::string(400, '0') + "e-400", 1},
    ValueCase{"ExponentUnderflowIsZero",    "1e-400",        0},
    ValueCase{"LongFractionUnderflow",      "0." + std::string(400, '0') + "1", 0},
    ValueCase{"HugeExponentDigits",         "1e99999999999999999999", HUGE_VAL}),
    caseName);
// clang-format on

struct TestCase {
    const char* name;
    const char* text;
    bool numeric;
};
void PrintTo(const TestCase& c, std::ostream* os) { *os << c.name; }

class NumericTest : public testing::TestWithParam<TestCase> {};

TEST_P(NumericTest, TestsTheWholeText) { EXPECT_EQ(isNumeric(GetParam().text), GetParam().numeric); }

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, NumericTest, testing::Values(
    TestCase{"Whole",                  "100",          true},
    TestCase{"BlanksAtEnds",           " 100 ",        true},
    TestCase{"TabAndLineFeedAtEnds",   "\t7\n",        true},
    TestCase{"Negative",               "-5",           true},
    TestCase{"Plus",                   "+5",           true},
    TestCase{"Decimal",                "1.5",          true},
    TestCase{"PointFirst",             ".5",           true},
    TestCase{"TrailingPoint",          "5.",           true},
    TestCase{"Exponent",               "1e5",          true},
    TestCase{"NegativeExponent",       "1E-5",         true},
    TestCase{"GroupingComma",          "1,000",        true},
    TestCase{"GroupingAndFraction",    "1,000,000.25", true},
    TestCase{"LeadingDollar",          "$500",         true},
    TestCase{"MinusBeforeDollar",      "-$5",          true},
    TestCase{"MinusAfterDollar",       "$-5",          true},
    TestCase{"OutOfRangeIsANumber",    "1e400",        true},
    TestCase{"Empty",                  "",             false},
    TestCase{"BlanksOnly",             "  ",           false},
    TestCase{"Letters",                "abc",          false},
    TestCase{"TrailingLetters",        "12abc",        false},
    TestCase{"BlankInside",            "1 2",          false},
    TestCase{"SignAlone",              "-",            false},
    TestCase{"PointAlone",             ".",            false},
    TestCase{"DollarAlone",            "$",            false},
    TestCase{"DoubleDollar",           "$$5",          false},
    TestCase{"BlankAfterDollar",       "$ 5",          false},
    TestCase{"TrailingDollar",         "5$",           false},
    TestCase{"LeadingComma",           ",5",           false},
    TestCase{"CommaInFraction",        "1.5,0",        false},
    TestCase{"ExponentWithoutDigits",  "1e",           false},
    TestCase{"FractionalExponent",     "1e5.5",        false},
    TestCase{"TwoPoints",              "1.2.3",        false},
    TestCase{"DoubleSign",             "--5",          false},
    TestCase{"CarriageReturnAtEnd",    "5\r",          false}),
    caseName);
// clang-format on

struct TextCase {
    const char* name;
    double value;
    const char* text;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class PlainText : public testing::TestWithParam<TextCase> {};

TEST_P(PlainText, WritesPlainDecimals) { EXPECT_EQ(plainText(GetParam().value), GetParam().text); }

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, PlainText, testing::Values(
    TextCase{"WholeHasNoPoint",           122,               "122"},
    TextCase{"Zero",                      0,                 "0"},
    TextCase{"NegativeZeroHasNoSign",     -0.0,              "0"},
    TextCase{"OneDecimal",                1.1,               "1.1"},
    TextCase{"NoTrailingZeros",           123.5,             "123.5"},
    TextCase{"NegativeWhole",             -2,                "-2"},
    TextCase{"NegativeDecimal",           -1234.5,           "-1234.5"},
    TextCase{"NoGrouping",                1234567.891,       "1234567.891"},
    TextCase{"Rate",                      0.039,             "0.039"},
    TextCase{"Average",                   122.102,           "122.102"},
    TextCase{"BinaryNoiseRemoved",        0.1 + 0.2,         "0.3"},
    TextCase{"FifteenDigitsOfAThird",     1.0 / 3,           "0.333333333333333"},
    TextCase{"FifteenDigitsRounded",      2.0 / 3,           "0.666666666666667"},
    TextCase{"FifteenDigitWhole",         123456789012345.0, "123456789012345"},
    TextCase{"FifteenNines",              999999999999999.0, "999999999999999"},
    TextCase{"TenThousandth",             0.0001,            "0.0001"},
    TextCase{"LargeWholeHasNoExponent",   1e15,              "1000000000000000"},
    TextCase{"SixteenDigitsRoundedTo15",  1234567890123456.0, "1234567890123460"},
    TextCase{"LargeNegativeDecimal",      -12345678901234.56, "-12345678901234.6"},
    TextCase{"TinyHasNoExponent",         1e-5,              "0.00001"},
    TextCase{"TinyFifteenDigits",         -1.0 / 30000,      "-0.0000333333333333333"},
    TextCase{"HugeAllDigitsWritten",      1e20,              "100000000000000000000"}),
    caseName);
// clang-format on

struct RoundCase {
    const char* name;
    double x;
    double whole;
    double thousandths;
};
void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.name; }

class Rounding : public testing::TestWithParam<RoundCase> {};

TEST_P(Rounding, RoundsHalfUp) {
    EXPECT_EQ(roundWhole(GetParam().x), GetParam().whole);
    EXPECT_EQ(roundThousandths(GetParam().x), GetParam().thousandths);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, Rounding, testing::Values(
    RoundCase{"HalfGoesUp",               2.5,      3,    2.5},
    RoundCase{"NegativeHalfGoesUp",       -2.5,     -2,   -2.5},
    RoundCase{"ProductOfWorkedExample",   300.6,    301,  300.6},
    RoundCase{"PointFive",                0.5,      1,    0.5},
    RoundCase{"MinusPointFive",           -0.5,     0,    -0.5},
    RoundCase{"BelowHalf",                178.4999, 178,  178.5},
    RoundCase{"FourthPowerOfOnePointOne", 1.4641,   1,    1.464},
    RoundCase{"FourthPowerOfOnePointTwo", 2.0736,   2,    2.074},
    RoundCase{"HalfThousandthGoesUp",     0.0005,   0,    0.001},
    RoundCase{"NegativeHalfThousandth",   -0.0005,  0,    0},
    RoundCase{"NegativeBeyondHalfThousandth", -0.0006, 0, -0.001},
    RoundCase{"AlreadyRounded",           122.102,  122,  122.102}),
    caseName);
// clang-format on

TEST(CommaOrDollar, FindsEitherCharacterAnywhere) {
    EXPECT_TRUE(hasCommaOrDollar("1,000"));
    EXPECT_TRUE(hasCommaOrDollar("500$"));
    EXPECT_FALSE(hasCommaOrDollar("-1.5e3"));
    EXPECT_FALSE(hasCommaOrDollar(""));
}

}  // namespace
}  // namespace kbt2
