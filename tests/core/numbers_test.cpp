#include "calc/numbers.h"

#include <gtest/gtest.h>

namespace kbt2 {
namespace {

struct ValueCase {
    const char* text;
    double value;
};

class NumericValue : public testing::TestWithParam<ValueCase> {};

TEST_P(NumericValue, ReadsTheLeadingNumber) { EXPECT_DOUBLE_EQ(numericValue(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, NumericValue,
                         testing::Values(ValueCase{"", 0}, ValueCase{"122", 122}, ValueCase{"133.1", 133.1},
                                         ValueCase{"  -2.5", -2.5}, ValueCase{"1,000", 1}, ValueCase{"$500", 0},
                                         ValueCase{"1 2 3", 123}, ValueCase{" 041", 41}, ValueCase{"1e3", 1000},
                                         ValueCase{"1.5E-2x", 0.015}, ValueCase{"12abc", 12}, ValueCase{"abc", 0},
                                         ValueCase{".5", 0.5}, ValueCase{"-", 0}, ValueCase{"1e", 1},
                                         ValueCase{"+7", 7}, ValueCase{"5.", 5}, ValueCase{"0.25", 0.25}));

TEST(NumericTest, AcceptsNumbersCommasAndALeadingDollar) {
    for (const char* ok : {"100", " 100 ", "-5", "1.5", "1,000", "$500", "1e5", ".5", "5."})
        EXPECT_TRUE(isNumeric(ok)) << ok;
    for (const char* bad : {"", " ", "abc", "12abc", "1 2", "-", "$", ",5", "1e", "5$"})
        EXPECT_FALSE(isNumeric(bad)) << bad;
}

TEST(PlainText, WritesPlainDecimals) {
    EXPECT_EQ(plainText(122), "122");
    EXPECT_EQ(plainText(1.1), "1.1");
    EXPECT_EQ(plainText(123.5), "123.5");
    EXPECT_EQ(plainText(-2), "-2");
    EXPECT_EQ(plainText(-0.0), "0");
    EXPECT_EQ(plainText(0.039), "0.039");
    EXPECT_EQ(plainText(122.102), "122.102");
    EXPECT_EQ(plainText(123456789012345.0), "123456789012345");
    EXPECT_EQ(plainText(0.1 + 0.2), "0.3");
}

TEST(Rounding, RoundsHalfUp) {
    EXPECT_EQ(roundWhole(2.5), 3);
    EXPECT_EQ(roundWhole(-2.5), -2);
    EXPECT_EQ(roundWhole(300.6), 301);
    EXPECT_EQ(roundThousandths(1.4641), 1.464);
    EXPECT_EQ(roundThousandths(0.0005), 0.001);
}

}  // namespace
}  // namespace kbt2
