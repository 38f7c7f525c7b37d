#pragma once
// The lines kbt2-quote prints for a worksheet, as CSV or as JSON lines.

#include <string>
#include <string_view>

#include "app/quote/quote_options.h"
#include "quote/quote_worksheet.h"

namespace kbt2::quote {

// The CSV header line (with its CR LF); nothing for JSON lines.
std::string headerOf(OutputFormat format);

// Every line of one worksheet, each with its line end.
std::string linesOf(const WorksheetQuote& quote, OutputFormat format);

// The pieces of those lines, for other kinds of line.
inline constexpr std::string_view kCsvLineEnd = "\r\n";
// A CSV field, quoted when it must be: a figure, as it stands.
std::string csvField(std::string_view text);
// A CSV field of text (a file name, a message, a producer): one that a
// spreadsheet would take for a formula, beginning with =, +, -, @, a tab or a
// carriage return, gets a leading apostrophe, so it is shown, never run.
std::string csvText(std::string_view text);
// A message with its line breaks made blanks.
std::string oneLine(std::string_view text);
// The JSON object of a quote (no line end).
std::string jsonObject(const WorksheetQuote& quote);

}  // namespace kbt2::quote
