#pragma once
// kbt2-quote --details: the values of each worksheet's premium calculation as
// one JSON object, numbers written as the worksheet writes them (plain
// decimal, never an exponent), the rate file's identity read once per file.

#include <map>
#include <string>

#include "commands/quote_summary.h"

namespace kbt2::quote {

// {"average_income":…,"commodities":[…],"levels":[…],"rate_file":{…}}
std::string detailsJson(const QuoteSummary& summary);

// Where --summaries puts a worksheet's summary: FOLDER/NAME.pdf for
// NAME.wsk (NAME.WSK, or NAME without an extension).
std::string summaryPath(const std::string& folder, const std::string& worksheet);

// The size, time and SHA-256 of each rate file, read the first time it is
// asked for: a batch of thousands of worksheets hashes its rate file once.
class RateFileIdentities {
public:
    void fill(SummaryRateFile& file);

private:
    std::map<std::string, SummaryRateFile> known_;
};

}  // namespace kbt2::quote
