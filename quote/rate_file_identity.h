#pragma once
// What tells one copy of a rate file from another: its path, size, time of
// last change and SHA-256, with the records the premium read from it. Rate
// tables are corrected several times a season, so a quote names the copy it
// rests on.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "quote/quote_summary.h"
#include "rates/rate_file.h"

using EVP_MD_CTX = struct evp_md_ctx_st;

namespace kbt2 {

// A SHA-256 taken block by block, as a file is read for something else.
class Sha256Stream {
public:
    Sha256Stream();
    void add(const char* begin, const char* end);
    // The digest in 64 lower-case hex digits; empty when it failed. Once only.
    std::string finish();

private:
    struct Free {
        void operator()(EVP_MD_CTX* context) const;
    };
    std::unique_ptr<EVP_MD_CTX, Free> context_;
    bool sound_ = false;
};

// The SHA-256 of `path`'s bytes in 64 lower-case hex digits, or nothing
// (empty) when the file cannot be read.
std::string sha256OfFile(const std::string& path);
// The SHA-256 of a text, for checking the routine against known digests.
std::string sha256OfText(std::string_view text);

// Size, local time of last change (ISO 8601, "2026-11-30T08:15:00") and
// SHA-256 of the file as it is now; `records` as the premium counted them.
SummaryRateFile rateFileIdentity(const std::string& path, std::uint64_t records);
// The same without the SHA-256 (left empty): what the system tells of the
// file at once.
SummaryRateFile rateFileStamp(const std::string& path, std::uint64_t records);
// The same of the copy one reading saw: its size, time and records as that
// reading found them, and the digest taken of its blocks.
SummaryRateFile rateFileIdentity(const std::string& path, const RateFileContents& read, std::string sha256);

// The size, time and SHA-256 of each rate file: known from the reading of
// the table, else read the first time it is asked for. A batch of thousands
// of worksheets hashes its rate file once at most.
class RateFileIdentities {
public:
    // A file's identity known from the reading of its table.
    void know(const SummaryRateFile& file) { known_.insert_or_assign(file.path, file); }
    void fill(SummaryRateFile& file);

private:
    std::map<std::string, SummaryRateFile> known_;
};

}  // namespace kbt2
