// How long the whole premium calculation takes on a national-size rate file,
// against the floor of reading that file at all: the same file read in 1 MiB
// blocks, counting its line feeds with memchr. Both run in this one process,
// alternating, on a file that is in the page cache; the ratio of the medians
// is what the rate file reader adds on top of the reading.
//
//     kbt2_premium_bench [LINES] [RUNS]     defaults: 1000000 lines, 15 runs

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/premium.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// clang-format off
constexpr int kCodes[] = {
    41, 54, 11, 16, 81, 91, 94, 21, 47, 84, 39, 71, 800, 844,  // the worksheet's 14 commodities
    12, 13, 15, 18, 28, 53, 75, 78, 87, 601, 615, 630, 805, 821,
};
// clang-format on
constexpr int kStateCode = 26;
constexpr int kCountyCode = 81;

// Records of every state and many counties; one in fifty is in the
// worksheet's state, so the county column is compared often too, and the 14
// commodities of the worksheet's county appear now and then, the last one
// winning.
void writeRateFile(const fs::path& path, long lines) {
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
        if (r % 50 == 0) state = kStateCode;
        if (r % 5000 == 0) county = kCountyCode;
        const int code = kCodes[r / 11 % std::size(kCodes)];
        const double rate = 0.02 + static_cast<double>(r % 70) / 1000;
        std::snprintf(line, sizeof line, "%02d XX  %03d  %4d  %c     %c         %5.3f      %5.3f     %5.3f\r\n", state,
                      county, code, code >= 800 ? 'Y' : 'N', code < 100 ? 'Y' : 'N', rate, rate * 0.85, rate * 0.6);
        std::fwrite(line, 1, 62, out.get());
    }
}

class BenchPlatform : public kbt2::Platform {
public:
    explicit BenchPlatform(std::string folder) : folder_(std::move(folder)) {}
    kbt2::MessageAnswer showMessage(const kbt2::Message&) override {
        ++messages;
        return kbt2::MessageAnswer::OK;
    }
    std::optional<std::string> chooseFile(kbt2::FileDialogMode, const std::string&) override { return std::nullopt; }
    std::vector<std::string> rateFileFolders() override { return {folder_}; }
    kbt2::PrintResult print(const kbt2::PrintDocument&) override { return {}; }
    kbt2::PrintResult printToPdf(const kbt2::PrintDocument&, const std::string&) override { return {}; }
    void closeWindow() override {}
    int messages = 0;

private:
    std::string folder_;
};

void fillWorksheet(kbt2::Worksheet& ws) {
    using kbt2::Control;
    ws.select({Control::St, 0});   // Michigan, 26
    ws.select({Control::Mi1, 2});  // Kent, 81
    for (int k = 0; k < 5; ++k) ws.setText({Control::Allinc1, k}, std::to_string(100000 + 10000 * k));
    ws.setText({Control::Averageinc}, "120000");
    for (int i = 0; i < 14; ++i) {
        ws.setText({Control::Cropname1, i}, "Commodity " + std::to_string(i));
        ws.setText({Control::Unit1, i}, std::to_string(kCodes[i]));
        ws.setText({Control::Totamt1, i}, std::to_string(100 + 10 * i));
        ws.setText({Control::Expval1, i}, "7.5");
    }
}

long countLineFeeds(const fs::path& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    std::vector<char> buffer(size_t{1} << 20);
    long count = 0;
    for (size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0;) {
        const char* p = buffer.data();
        const char* end = p + got;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
            ++count;
            ++p;
        }
    }
    return count;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

long maxResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

template <class F>
double millisecondsOf(F&& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    const fs::path dir = fs::temp_directory_path() / ("kbt2-premium-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "Ratefile.prn";
    writeRateFile(file, lines);

    BenchPlatform platform(dir.string());
    kbt2::Worksheet ws;
    fillWorksheet(ws);
    // Warm the page cache and check that the calculation really ran.
    kbt2::command4Click(ws, platform);
    const long lineFeeds = countLineFeeds(file);
    const std::string premium = ws.text({kbt2::Control::Text18, 2});
    const long residentBefore = maxResidentKiB();

    std::vector<double> premiumTimes;
    std::vector<double> readTimes;
    for (int run = 0; run < runs; ++run) {
        premiumTimes.push_back(millisecondsOf([&] { kbt2::command4Click(ws, platform); }));
        readTimes.push_back(millisecondsOf([&] { countLineFeeds(file); }));
    }
    const long residentAfter = maxResidentKiB();
    fs::remove_all(dir);

    const double premiumMedian = median(premiumTimes);
    const double readMedian = median(readTimes);
    std::printf("rate file: %ld lines, %.1f MB, %ld line feeds\n", lines, static_cast<double>(lines) * 62 / 1e6,
                lineFeeds);
    std::printf("premium calculation, 14 commodities: median %.2f ms of %d runs (0.65 producer premium %s)\n",
                premiumMedian, runs, premium.c_str());
    std::printf("1 MiB blocks, memchr line feeds:     median %.2f ms of %d runs\n", readMedian, runs);
    std::printf("ratio: %.2f\n", premiumMedian / readMedian);
    std::printf("peak resident memory: %ld KiB before the timed runs, %ld KiB after\n", residentBefore, residentAfter);
    return 0;
}
