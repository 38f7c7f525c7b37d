#pragma once
// What tells one copy of a rate file from another: its path, size, time of
// last change and SHA-256, with the records the premium read from it. Rate
// tables are corrected several times a season, so a quote names the copy it
// rests on.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "quote/quote_summary.h"

namespace kbt2 {

// The SHA-256 of `path`'s bytes in 64 lower-case hex digits, or nothing
// (empty) when the file cannot be read.
std::string sha256OfFile(const std::string& path);
// The SHA-256 of a text, for checking the routine against known digests.
std::string sha256OfText(std::string_view text);

// Size, local time of last change (ISO 8601, "2026-11-30T08:15:00") and
// SHA-256 of the file as it is now; `records` as the premium counted them.
SummaryRateFile rateFileIdentity(const std::string& path, std::uint64_t records);

// The size, time and SHA-256 of each rate file, read the first time it is
// asked for: a batch of thousands of worksheets hashes its rate file once.
class RateFileIdentities {
public:
    void fill(SummaryRateFile& file);

private:
    std::map<std::string, SummaryRateFile> known_;
};

}  // namespace kbt2
