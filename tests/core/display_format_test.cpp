#include "calc/display_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <ostream>
#include <string>

#include "worksheet/system_error_text.h"

namespace kbt2 {
namespace {

struct DisplayCase {
    const char* name;
    DisplayFormat format;
    const char* text;
    const char* shown;
};
void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.name; }

class DisplayText : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayText, ShowsTheFormattedText) {
    EXPECT_EQ(displayText(GetParam().format, GetParam().text), GetParam().shown);
}

// The C library's locale as the window's toolkit sets it on a German desktop
// (a comma for the decimal point), for as long as it lives.
class GermanLocale {
public:
    GermanLocale() : before_(std::setlocale(LC_ALL, nullptr)) { set_ = std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    ~GermanLocale() { std::setlocale(LC_ALL, before_.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;
    // False when the locale is not installed (scripts/install-deps.sh makes it).
    bool set() const { return set_; }

private:
    std::string before_;
    bool set_ = false;
};

TEST_P(DisplayText, ShowsTheSameUnderACommaDecimalLocale) {
    const GermanLocale german;
    ASSERT_TRUE(german.set()) << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(displayText(GetParam().format, GetParam().text), GetParam().shown);
}

TEST(SystemErrorText, SaysTheSameUnderEveryLocale) {
    const std::string english = systemErrorText(ENOENT);
    EXPECT_EQ(english, "No such file or directory");
    const GermanLocale german;
    ASSERT_TRUE(german.set()) << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(systemErrorText(ENOENT), english);
    EXPECT_EQ(systemErrorText(ENOSPC), "No space left on device");
}

constexpr auto kWhole = DisplayFormat::WholeDollars;  // $#,##0;($#,##0.00)
constexpr auto kCents = DisplayFormat::Dollars;       // $#,##0.00;($#,##0.00)
constexpr auto kAmount = DisplayFormat::Amount;       // #,##0.00;($#,##0.00)

// clang-format off
INSTANTIATE_TEST_SUITE_P(Formats, DisplayText, testing::Values(
    DisplayCase{"WholeEmptyStaysEmpty",        kWhole,  "",           ""},
    DisplayCase{"WholeZero",                   kWhole,  "0",          "$0"},
    DisplayCase{"WholeNegativeZero",           kWhole,  "-0",         "$0"},
    DisplayCase{"WholeGrouping",               kWhole,  "1234567",    "$1,234,567"},
    DisplayCase{"WholeHalfRoundsUp",           kWhole,  "1234.5",     "$1,235"},
    DisplayCase{"WholeBelowHalfRoundsDown",    kWhole,  "1234.49",    "$1,234"},
    DisplayCase{"WholeRoundingAddsAGroup",     kWhole,  "999.5",      "$1,000"},
    DisplayCase{"WholeSmallHalf",              kWhole,  "0.5",        "$1"},
    DisplayCase{"WholeNegativeShowsCents",     kWhole,  "-1234.5",    "($1,234.50)"},
    DisplayCase{"WholeTinyNegative",           kWhole,  "-0.004",     "($0.00)"},
    DisplayCase{"WholeBlanksAround",           kWhole,  " 42 ",       "$42"},
    DisplayCase{"WholeExponent",               kWhole,  "1e3",        "$1,000"},
    DisplayCase{"WholeTypedComma",             kWhole,  "1,000",      "$1,000"},
    DisplayCase{"WholeTypedDollar",            kWhole,  "$500",       "$500"},
    DisplayCase{"WholeTypedMinusDollar",       kWhole,  "-$5",        "($5.00)"},
    DisplayCase{"WholeLettersAsTyped",         kWhole,  "abc",        "abc"},
    DisplayCase{"WholeTrailingLettersAsTyped", kWhole,  "12abc",      "12abc"},
    DisplayCase{"WholeOutOfRangeAsTyped",      kWhole,  "1e400",      "1e400"},
    DisplayCase{"CentsZero",                   kCents,  "0",          "$0.00"},
    DisplayCase{"CentsPadded",                 kCents,  "1234.5",     "$1,234.50"},
    DisplayCase{"CentsDecimalHalfRoundsUp",    kCents,  "2.675",      "$2.68"},
    DisplayCase{"CentsSmallHalf",              kCents,  "0.005",      "$0.01"},
    DisplayCase{"CentsNegative",               kCents,  "-5",         "($5.00)"},
    DisplayCase{"CentsTypedComma",             kCents,  "1,234.5",    "$1,234.50"},
    DisplayCase{"AmountHasNoDollar",           kAmount, "250.5",      "250.50"},
    DisplayCase{"AmountZero",                  kAmount, "0",          "0.00"},
    DisplayCase{"AmountMillions",              kAmount, "1000000",    "1,000,000.00"},
    DisplayCase{"AmountRoundingCarries",       kAmount, "999999.995", "1,000,000.00"},
    DisplayCase{"AmountNegativeTakesDollar",   kAmount, "-250.5",     "($250.50)"},
    DisplayCase{"AmountTypedDollarDropped",    kAmount, "$12",        "12.00"},
    DisplayCase{"AmountLettersAsTyped",        kAmount, "x",          "x"},
    DisplayCase{"NoFormatLeavesText",          DisplayFormat::None, "1234.5", "1234.5"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace kbt2
