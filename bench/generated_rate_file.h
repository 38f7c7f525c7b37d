#pragma once
// A national-size rate file for the benchmarks, the same bytes on every run:
// records of every state and many counties, 60 characters and CR LF each.
// One in fifty records is in Michigan (26) and one in five thousand of those
// in Kent (81), so the county column is compared often and the benchmark
// worksheet's commodities turn up now and then, the last one winning.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace kbt2::bench {

// clang-format off
inline constexpr int kBenchCodes[] = {
    41, 54, 11, 16, 81, 91, 94, 21, 47, 84, 39, 71, 800, 844,  // the premium bench worksheet's 14 commodities
    12, 13, 15, 18, 28, 53, 75, 78, 87, 601, 615, 630, 805, 821,
};
// clang-format on
inline constexpr int kBenchStateCode = 26;
inline constexpr int kBenchCountyCode = 81;
inline constexpr long kRateRecordBytes = 62;

// Writes the file unless one of the right size is already there: the large
// file takes seconds to write and the benchmarks are run again and again.
// `correction` other than 0 gives the same records with one rate in
// `correction` raised by a thousandth, as a corrected release would be.
inline void writeGeneratedRateFile(const std::filesystem::path& path, long lines, int correction = 0) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) == static_cast<std::uintmax_t>(lines * kRateRecordBytes) && !error)
        return;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) {
        std::perror(path.c_str());
        std::exit(1);
    }
    unsigned long seed = 12345;
    auto next = [&seed] { return seed = seed * 6364136223846793005UL + 1442695040888963407UL, seed >> 33; };
    char line[64];
    for (long n = 0; n < lines; ++n) {
        const unsigned long r = next();
        int state = static_cast<int>(r % 56) + 1;
        int county = static_cast<int>(r / 56 % 199) * 2 + 1;
        if (r % 50 == 0) state = kBenchStateCode;
        if (r % 5000 == 0) county = kBenchCountyCode;
        const int code = kBenchCodes[r / 11 % std::size(kBenchCodes)];
        const double rate =
            0.02 + static_cast<double>(r % 70) / 1000 + (correction != 0 && n % correction == 0 ? 0.001 : 0);
        std::snprintf(line, sizeof line, "%02d XX  %03d  %4d  %c     %c         %5.3f      %5.3f     %5.3f\r\n", state,
                      county, code, code >= 800 ? 'Y' : 'N', code < 100 ? 'Y' : 'N', rate, rate * 0.85, rate * 0.6);
        std::fwrite(line, 1, kRateRecordBytes, out.get());
    }
    if (std::fflush(out.get()) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

// The records of a rate table whose keys are all in the plan's counties: the
// shipped sample's (every county and every commodity code), without its
// mark line, so a table made of them is taken for a real one.
inline std::vector<std::string> planRecords(const std::filesystem::path& sample) {
    std::vector<std::string> records;
    std::FILE* in = std::fopen(sample.c_str(), "rb");
    if (!in) {
        std::perror(sample.c_str());
        std::exit(1);
    }
    char line[256];
    while (std::fgets(line, sizeof line, in)) {
        std::string record(line);
        while (!record.empty() && (record.back() == '\n' || record.back() == '\r')) record.pop_back();
        if (record.size() >= 60 && record[0] != '#') records.push_back(record.substr(0, 60));
    }
    std::fclose(in);
    return records;
}

// A record of the plan's with each of its three rates raised by a thousandth:
// a corrected release moves every premium priced from it.
inline std::string corrected(std::string record) {
    for (const size_t at : {34, 45, 55}) {
        char rate[8];
        std::snprintf(rate, sizeof rate, "%5.3f", std::atof(record.substr(at, 5).c_str()) + 0.001);
        record.replace(at, 5, rate, 5);
    }
    return record;
}

// The two kinds of table the quote benchmark reads, `lines` records of 60
// characters and CR LF each, the same bytes on every run:
// - national: records of every state and many counties, one in a hundred a
//   record of the plan's five states (taken from `plan` in turn, so every
//   county and code is there, the last of a key winning);
// - dense: nothing but records of the plan's states, `plan` over and over.
// `correct` raises the rates of every plan record (see corrected()).
enum class TableKind { National, Dense };

inline void writeKindOfRateFile(const std::filesystem::path& path, TableKind kind, long lines,
                                const std::vector<std::string>& plan, bool correct) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) == static_cast<std::uintmax_t>(lines * kRateRecordBytes) && !error)
        return;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::vector<std::string> ours = plan;
    if (correct)
        for (std::string& record : ours) record = corrected(record);
    unsigned long seed = 4242;
    auto next = [&seed] { return seed = seed * 6364136223846793005UL + 1442695040888963407UL, seed >> 33; };
    size_t nextOurs = 0;
    char line[64];
    for (long n = 0; n < lines; ++n) {
        const unsigned long r = next();
        if (kind == TableKind::Dense || r % 100 == 0) {
            std::memcpy(line, ours[nextOurs].data(), 60);
            nextOurs = (nextOurs + 1) % ours.size();
        } else {
            // Any state but the plan's (12, 23, 25, 26 and 33).
            int state = static_cast<int>(r % 51) + 1;
            for (const int planState : {12, 23, 25, 26, 33})
                if (state >= planState) ++state;
            const int county = static_cast<int>(r / 56 % 199) * 2 + 1;
            const int code = kBenchCodes[r / 11 % std::size(kBenchCodes)];
            const double rate = 0.02 + static_cast<double>(r % 70) / 1000;
            std::snprintf(line, sizeof line, "%02d XX  %03d  %4d  %c     %c         %5.3f      %5.3f     %5.3f", state,
                          county, code, code >= 800 ? 'Y' : 'N', code < 100 ? 'Y' : 'N', rate, rate * 0.85, rate * 0.6);
        }
        line[60] = '\r';
        line[61] = '\n';
        std::fwrite(line, 1, kRateRecordBytes, out.get());
    }
    if (std::fflush(out.get()) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

}  // namespace kbt2::bench
