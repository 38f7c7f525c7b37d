#include "calc/display_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "calc/numbers.h"

namespace kbt2 {
namespace {

struct Section {
    bool dollar;
    int decimals;
};

// The magnitude with `decimals` digits after the point, rounded half away
// from zero on the value's 15-digit decimal form (so 2.675 gives 2.68, as a
// person reading the field expects).
std::string fixedDigits(double magnitude, int decimals) {
    // to_chars, not printf: the C library's locale (which the window's
    // toolkit sets from the desktop) would put a comma for the point.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    // buffer: d.dddddddddddddde[+-]xx
    const char* e = std::find(buffer, written.ptr, 'e');
    std::string digits;
    for (const char* p = buffer; p != e; ++p)
        if (*p != '.') digits += *p;
    int exponent = 0;
    if (e != written.ptr) std::from_chars(e + (e[1] == '+' ? 2 : 1), written.ptr, exponent);
    // digits hold the value as 0.d1d2... x 10^(exponent + 1)
    int pointAt = exponent + 1;  // number of digits before the point
    if (pointAt < 0) {
        digits.insert(0, static_cast<size_t>(-pointAt), '0');
        pointAt = 0;
    }
    if (static_cast<int>(digits.size()) < pointAt + decimals + 1)
        digits.append(static_cast<size_t>(pointAt + decimals + 1 - static_cast<int>(digits.size())), '0');
    const int keep = pointAt + decimals;
    const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9') digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<size_t>(i)];
        } else {
            digits.insert(0, 1, '1');
            ++pointAt;
        }
    }
    std::string whole = digits.substr(0, static_cast<size_t>(pointAt));
    const std::string fraction = digits.substr(static_cast<size_t>(pointAt));
    const auto first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    std::string grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
        grouped += whole[i];
    }
    return decimals > 0 ? grouped + "." + fraction : grouped;
}

}  // namespace

std::string displayText(DisplayFormat format, std::string_view text) {
    if (format == DisplayFormat::None || !isNumeric(text)) return std::string(text);
    std::string plain;
    for (char c : text)
        if (c != ',' && c != '$') plain += c;
    double value = numericValue(plain);
    if (value == 0) value = 0;  // "-0" is zero, shown without a sign
    if (!std::isfinite(value)) return std::string(text);
    if (value < 0) return "($" + fixedDigits(-value, 2) + ")";
    const Section positive = format == DisplayFormat::WholeDollars ? Section{true, 0}
                             : format == DisplayFormat::Dollars    ? Section{true, 2}
                                                                   : Section{false, 2};
    return (positive.dollar ? "$" : "") + fixedDigits(value, positive.decimals);
}

}  // namespace kbt2
