// plainText writes its digits with std::to_chars, and numericValue reads
// bare digits where they stand. Every text it writes must
// be the one the printf-based writing gave ("%.14e", then the digits placed
// around the point), which is kept here as the reference: over values of
// every magnitude and sign, the roundings' halves, the 15th digit's carries
// and the ends of the double range.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "calc/numbers.h"

namespace kbt2 {
namespace {

std::string printfPlainText(double value) {
    if (value == 0 || std::isnan(value)) return std::isnan(value) ? "nan" : "0";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string_view scientific(buffer);
    const auto e = scientific.find('e');
    std::string digits = std::string(scientific.substr(0, 1)) + std::string(scientific.substr(2, e - 2));
    digits.erase(digits.find_last_not_of('0') + 1);
    const int exponent = std::atoi(buffer + e + 1);
    std::string text = value < 0 ? "-" : "";
    const int pointAfter = exponent + 1;
    if (pointAfter <= 0) {
        text += "0." + std::string(static_cast<size_t>(-pointAfter), '0') + digits;
    } else if (static_cast<size_t>(pointAfter) >= digits.size()) {
        text += digits + std::string(static_cast<size_t>(pointAfter) - digits.size(), '0');
    } else {
        text +=
            digits.substr(0, static_cast<size_t>(pointAfter)) + "." + digits.substr(static_cast<size_t>(pointAfter));
    }
    return text;
}

// clang-format off
const double kEdges[] = {
    0.0, -0.0, 1, -1, 0.1, 0.5, 2.5, 0.001, 0.0005, 0.0015, 0.029, 0.042, 0.698, 1.0 / 3, 2.0 / 3, -2.0 / 3,
    123456789012345.0, 999999999999999.0, 999999999999999.5, 9999999999999995.0, 99999999999999.95,
    0.999999999999999, 0.9999999999999995, 0.99999999999999949, 1e15, 1e15 + 1, 1e16, 1e21, 1e22, 1e-5, 1e-7,
    123.456, 1.005, 2.675, 1.45, 1e-300, -1e-300, 4.9406564584124654e-324, 2.2250738585072014e-308,
    DBL_MAX, -DBL_MAX, DBL_MIN, DBL_EPSILON, 9007199254740993.0, 0.30000000000000004, 100000.00000000001,
    std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
};
// clang-format on

TEST(PlainTextDigits, EdgesAreWrittenAsPrintfWroteThem) {
    for (const double value : kEdges) EXPECT_EQ(plainText(value), printfPlainText(value)) << value;
}

TEST(PlainTextDigits, ManyValuesOfEveryKindAreWrittenAsPrintfWroteThem) {
    std::mt19937_64 random(20261208);
    std::vector<double> values;
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> power(-320, 308);
    std::uniform_int_distribution<std::int64_t> cents(-10'000'000'000, 10'000'000'000);
    for (int i = 0; i < 40000; ++i) {
        values.push_back(unit(random) * std::pow(10.0, power(random)) * (i % 2 ? -1 : 1));         // any magnitude
        values.push_back(static_cast<double>(cents(random)) / 100);                                // money
        values.push_back(std::floor(static_cast<double>(cents(random)) / 7 * 1000 + 0.5) / 1000);  // thousandths
        values.push_back(static_cast<double>(cents(random)) + 0.5);  // whole-number halves
        std::uint64_t bits = random();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);  // every bit pattern, subnormals included
        values.push_back(any);
    }
    for (const double value : values) ASSERT_EQ(plainText(value), printfPlainText(value)) << value;
}

// Bare digits are read where they stand; a leading blank sends the same
// text through the collecting of characters, which must give the same value.
TEST(NumericValueOfBareDigits, IsTheValueTheCollectingGives) {
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "7",
                                      "-7",
                                      "12.",
                                      "-12.",
                                      "0.5",
                                      "-0.5",
                                      "1.05",
                                      "00",
                                      "0041",
                                      "1.2.3",
                                      "1-2",
                                      "12a",
                                      "-",
                                      "-.5",
                                      ".5",
                                      "5.a",
                                      "1e5",
                                      "9007199254740993",
                                      std::string(400, '9')};
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::to_string(random() % 100000000);
        if (i % 2) text += "." + std::to_string(random() % 1000);
        if (i % 3 == 0) text = "-" + text;
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        const double bare = numericValue(text);
        const double collected = numericValue(" " + text);
        EXPECT_EQ(std::memcmp(&bare, &collected, sizeof bare), 0) << text;  // -0 too
    }
}

}  // namespace
}  // namespace kbt2
