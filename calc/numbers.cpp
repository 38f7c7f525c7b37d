#include "calc/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace kbt2 {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars leaves the value alone when it is out of range; whether it
// overflowed or underflowed follows from the decimal order of magnitude of
// the first significant digit. `s` is a clean number: [-]digits[.digits][e[+-]digits].
double outOfRange(const std::string& s) {
    const bool negative = s[0] == '-';
    const auto e = s.find('e');
    const std::string_view mantissa = std::string_view(s).substr(0, e);
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return negative ? -0.0 : 0.0;
    long order = first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    if (e != std::string::npos) {
        size_t i = e + 1;
        const bool negativeExponent = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        long exponent = 0;
        for (; i < s.size(); ++i) exponent = std::min(exponent * 10 + (s[i] - '0'), 100000000L);
        order += negativeExponent ? -exponent : exponent;
    }
    if (order > 0) return negative ? -HUGE_VAL : HUGE_VAL;
    return negative ? -0.0 : 0.0;
}

double parseClean(const std::string& s) {
    double value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec == std::errc::result_out_of_range) return outOfRange(s);
    return value;
}

// Nearly every field holds bare digits, with perhaps a minus sign and a
// point: those are converted where they stand. Anything else (blanks, a
// plus sign, an exponent, trailing letters) is left to the collecting below,
// which would have collected exactly these characters.
std::optional<double> bareDecimal(std::string_view text) {
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t digitsFrom = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i == digitsFrom) return std::nullopt;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]);) ++i;
    if (i != text.size()) return std::nullopt;
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return std::nullopt;
    return value;
}

}  // namespace

double numericValue(std::string_view text) {
    if (const std::optional<double> bare = bareDecimal(text)) return *bare;
    // Collect the characters of the number, skipping blanks, then convert.
    std::string number;
    enum class State { Sign, Integer, Fraction, ExponentSign, Exponent } state = State::Sign;
    bool mantissaDigits = false;
    bool exponentDigits = false;
    std::string::size_type exponentAt = std::string::npos;
    for (char c : text) {
        if (isBlank(c)) continue;
        if (state == State::Sign && (c == '+' || c == '-')) {
            number += c;
            state = State::Integer;
        } else if ((state == State::Sign || state == State::Integer || state == State::Fraction) && isDigit(c)) {
            number += c;
            mantissaDigits = true;
            if (state == State::Sign) state = State::Integer;
        } else if ((state == State::Sign || state == State::Integer) && c == '.') {
            number += c;
            state = State::Fraction;
        } else if ((state == State::Integer || state == State::Fraction) && mantissaDigits && (c == 'e' || c == 'E')) {
            exponentAt = number.size();
            number += 'e';
            state = State::ExponentSign;
        } else if (state == State::ExponentSign && (c == '+' || c == '-')) {
            number += c;
            state = State::Exponent;
        } else if ((state == State::ExponentSign || state == State::Exponent) && isDigit(c)) {
            number += c;
            exponentDigits = true;
            state = State::Exponent;
        } else {
            break;
        }
    }
    if (!mantissaDigits) return 0;
    if (exponentAt != std::string::npos && !exponentDigits) number.resize(exponentAt);
    if (number[0] == '+') number.erase(0, 1);
    if (!number.empty() && number.back() == '.') number.pop_back();
    if (number.empty() || number == "-") return 0;
    return parseClean(number);
}

bool isNumeric(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    const std::string_view s = text.substr(begin, end - begin);
    size_t i = 0;
    bool sign = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
        sign = true;
    }
    if (i < s.size() && s[i] == '$') ++i;
    if (!sign && i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    while (i < s.size() && (isDigit(s[i]) || (s[i] == ',' && digits))) {
        digits = digits || isDigit(s[i]);
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            digits = true;
            ++i;
        }
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        bool exponentDigits = false;
        while (i < s.size() && isDigit(s[i])) {
            exponentDigits = true;
            ++i;
        }
        if (!exponentDigits) return false;
    }
    return i == s.size();
}

std::string plainText(double value) {
    if (value == 0 || std::isnan(value)) return std::isnan(value) ? "nan" : "0";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    // The 15 significant digits and the power of ten of the first one, then
    // the digits placed around the point: never an exponent, however large or
    // small the value. The digits are those printf's "%.14e" writes, trailing
    // zeros dropped. When the shortest digits that read back as the value
    // are 15 or fewer (nearly every figure), they are those very digits (a
    // double's neighbours are closer than half a step of the 15th digit,
    // except below the normal range, where they thin out); only a value that
    // needs more, or a subnormal one, is rounded to 15.
    char scientific[32];
    auto written =
        std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value), std::chars_format::scientific);
    char* e = std::find(scientific, written.ptr, 'e');
    if (e - scientific > 16 || std::fabs(value) < std::numeric_limits<double>::min()) {  // "d." and over 14 digits
        written = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                                std::chars_format::scientific, 14);
        e = std::find(scientific, written.ptr, 'e');
    }
    char digits[15];
    digits[0] = scientific[0];
    const char* fraction = scientific[1] == '.' ? scientific + 2 : e;
    size_t count = static_cast<size_t>(std::copy(fraction, static_cast<const char*>(e), digits + 1) - digits);
    while (count > 1 && digits[count - 1] == '0') --count;
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), written.ptr, exponent);

    // At most "-", "0.", 323 zeros and 15 digits.
    char text[400];
    char* out = text;
    if (value < 0) *out++ = '-';
    const int pointAfter = exponent + 1;  // digits before the point
    if (pointAfter <= 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -pointAfter, '0');
        out = std::copy_n(digits, count, out);
    } else if (static_cast<size_t>(pointAfter) >= count) {
        out = std::copy_n(digits, count, out);
        out = std::fill_n(out, static_cast<size_t>(pointAfter) - count, '0');
    } else {
        out = std::copy_n(digits, pointAfter, out);
        *out++ = '.';
        out = std::copy(digits + pointAfter, digits + count, out);
    }
    return std::string(text, out);
}

// A value out of range never reaches a field; it stays as it is, so the
// caller sees it.
double asWritten(double value) { return std::isfinite(value) ? numericValue(plainText(value)) : value; }

double roundWhole(double x) { return std::floor(x + 0.5); }

double roundThousandths(double x) { return std::floor(x * 1000 + 0.5) / 1000; }

double changeInPercent(double before, double after) {
    return std::floor((after - before) / std::fabs(before) * 1000 + 0.5) / 10 + 0.0;
}

bool hasCommaOrDollar(std::string_view text) { return text.find_first_of(",$") != std::string_view::npos; }

}  // namespace kbt2
