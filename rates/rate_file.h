#pragma once
// The county rate table Ratefile.prn: fixed-column records keyed by state,
// county and commodity code, each giving a premium rate per coverage level
// (kCoverageLevels, in column order) and two one-character flags.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/commodity_rates.h"
#include "worksheet/outcome.h"
#include "worksheet/platform.h"

namespace kbt2 {

inline constexpr const char* kRateFileName = "Ratefile.prn";
// Large blocks keep the system calls few; one block is all the memory the
// reader needs, whatever the size of the file.
inline constexpr size_t kRateFileBlockSize = size_t{1} << 20;

// Why the file could not be read: the system's error number and its text.
struct RateFileError {
    int number = 0;
    std::string description;
};

// A whole reading of the file, or why it was not whole.
using RateReadOutcome = Outcome<Done, RateFileError>;

inline RateReadOutcome outcomeOf(std::optional<RateFileError> error) {
    if (error) return std::move(*error);
    return Done{};
}

// What a whole reading of the file found besides the rows.
struct RateFileContents {
    std::uint64_t records = 0;  // lines read as records
    bool keyed = false;         // at least one valid record (see rate_record_scan.h)
    bool sample = false;        // the shipped sample table, with its made-up rates
    // The file as it was opened for this reading: its size in bytes and the
    // time of its last change (seconds since 1970), for naming the copy read.
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};

struct RateLookup {
    std::vector<CommodityRates> rows;  // one per commodity code asked for
    std::optional<RateFileError> error;
    std::uint64_t records = 0;  // lines read as records
    bool keyed = false;         // as RateFileContents
    bool sample = false;
};

// Where the rate file was found: the file the user chose when it is still an
// ordinary file, else the one in the first of the platform's rate file
// folders that holds one, or nothing when none does. A chosen file that is
// gone is named in `chosenGone`, so nobody need look at the disk again.
struct RateFilePlace {
    std::optional<std::string> path;
    std::optional<std::string> chosenGone;
};
RateFilePlace locateRateFile(Platform& platform);
// Just the path of that search.
std::optional<std::string> findRateFile(Platform& platform);

// Reads the file once for all rows: a record matches row i when its state,
// county and commodity code equal stateCode, countyCode and codes[i]; the last
// matching record of the file wins. The file is streamed in large blocks, so
// memory does not grow with it. A line ends at CR, CR LF or LF and is fitted
// to 60 characters before its columns are read. (Tests pass small blocks to
// make lines cross block boundaries.)
RateLookup readRates(const std::string& path, double stateCode, double countyCode, std::span<const double> codes,
                     size_t blockSize = kRateFileBlockSize);

}  // namespace kbt2
