#pragma once
// kbt2-quote --details: the values of each worksheet's premium calculation as
// one JSON object, numbers written as the worksheet writes them (plain
// decimal, never an exponent), the rate file's identity read once per file.

#include <map>
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

// The size, time and SHA-256 of each rate file: known from the reading of
// the table, else read the first time it is asked for. A batch of thousands
// of worksheets hashes its rate file once at most.
class RateFileIdentities {
public:
    void know(const SummaryRateFile& file) { known_.insert_or_assign(file.path, file); }
    void fill(SummaryRateFile& file);

private:
    std::map<std::string, SummaryRateFile> known_;
};

}  // namespace kbt2::quote
