#pragma once
// A national-size rate file for the benchmarks, the same bytes on every run:
// records of every state and many counties, 60 characters and CR LF each.
// One in fifty records is in Michigan (26) and one in five thousand of those
// in Kent (81), so the county column is compared often and the benchmark
// worksheet's commodities turn up now and then, the last one winning.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>

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

}  // namespace kbt2::bench
