#pragma once
// kbt2-quote --details: the values of each worksheet's premium calculation as
// one JSON object, numbers written as the worksheet writes them (plain
// decimal, never an exponent).

#include <set>
#include <string>
#include <utility>

#include "quote/quote_summary.h"

namespace kbt2::quote {

// {"average_income":…,"commodities":[…],"levels":[…],"rate_file":{…}}
std::string detailsJson(const QuoteSummary& summary);

// Where --summaries puts each worksheet's summary: FOLDER/NAME.pdf for
// NAME.wsk (NAME.WSK, or NAME without an extension). No two worksheets of a
// run share a PDF: the first worksheet of a name gets NAME.pdf, a later one
// of the same name
// (from another folder, say) NAME-2.pdf, NAME-3.pdf, ..., the first not yet
// given in this run.
class SummaryNames {
public:
    explicit SummaryNames(std::string folder) : folder_(std::move(folder)) {}
    std::string pathFor(const std::string& worksheet);

private:
    std::string folder_;
    std::set<std::string> given_;
};

}  // namespace kbt2::quote
