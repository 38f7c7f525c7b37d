#pragma once
// How the worksheet reads numbers from field texts and writes them back.
// Every command goes through these: they decide every figure of the program.

#include <string>
#include <string_view>

namespace kbt2 {

// The value of the longest leading part of the text that forms a decimal
// number (sign, digits, point and fraction, exponent); blanks, tabs and line
// feeds are skipped wherever they stand. Anything else ends the number; no
// number at all reads as 0. The point is the only decimal separator.
double numericValue(std::string_view text);

// True when the whole text, blanks at either end ignored, is a decimal
// number. Digit-grouping commas and a leading dollar sign are tolerated (the
// commands reject those afterwards with messages of their own); an empty
// text fails.
bool isNumeric(std::string_view text);

// Plain decimal text: at most 15 significant digits, no trailing zeros, no
// point for a whole number, a leading "-", no grouping, no currency sign and
// no exponent at any magnitude (1e15 is written with all its zeros).
std::string plainText(double value);

// The value a field holds once `value` is written into it as plain text and
// read back: a calculation that reads back what it wrote uses this.
double asWritten(double value);

// Half-up roundings: floor(x + 0.5) and floor(x * 1000 + 0.5) / 1000.
double roundWhole(double x);
double roundThousandths(double x);
// The change from `before` (not 0) to `after` in per cent of `before`, to one
// decimal rounded half up: 46.2 for 13 to 19.
double changeInPercent(double before, double after);

// True when the text contains a comma or a dollar sign.
bool hasCommaOrDollar(std::string_view text);

}  // namespace kbt2
