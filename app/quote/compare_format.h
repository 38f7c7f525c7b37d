#pragma once
// The lines kbt2-quote --compare prints for each worksheet, as CSV or as
// JSON lines: the two quotes side by side, and which rate records moved it.

#include <string>

#include "app/quote/quote_options.h"
#include "quote/worksheet_comparison.h"

namespace kbt2::quote {

// How an error line names each table.
struct TableNames {
    std::string before;
    std::string after;
};

// The CSV header (with its CR LF); nothing for JSON lines.
std::string compareHeaderOf(OutputFormat format);
// Every line of one compared worksheet, each with its line end.
std::string compareLinesOf(const ComparedQuote& compared, const TableNames& tables, OutputFormat format);

}  // namespace kbt2::quote
