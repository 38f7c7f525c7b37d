#pragma once
// The lines kbt2-quote prints for a worksheet, as CSV or as JSON lines.

#include <string>
#include <string_view>

#include "app/quote/quote_options.h"
#include "app/quote/quote_worksheet.h"

namespace kbt2::quote {

// The CSV header line (with its CR LF); nothing for JSON lines.
std::string headerOf(OutputFormat format);

// A JSON string of a text (a name that is not UTF-8 read as Windows-1252).
std::string jsonString(std::string_view text);

// Every line of one worksheet, each with its line end.
std::string linesOf(const WorksheetQuote& quote, OutputFormat format);

}  // namespace kbt2::quote
