// kbt2-quote as a whole process on many generated worksheets:
//
// - 10,000 worksheets (1 to 14 commodities each, spread over all 36
//   counties) against a generated national-size rate file and against the
//   sample rate file, each against its floor, run as processes in the same
//   turns: `cat` of the worksheets (plus `wc -l` of the rate file for the
//   large one). Targets: within 2.5x of its floor against the large file,
//   within 2x against the sample;
// - --compare of two national-size files (the second a corrected release)
//   against one plain run on the first: target within 1.5x;
// - the peak resident memory on 10,000 and on 100,000 small worksheets (one
//   commodity each) with the sample rate file, which must not grow with
//   their number.
//
//     kbt2_quote_bench [LINES] [RUNS]     defaults: 10000000 lines, 3 runs
//
// Everything generated goes to bench-scratch/ of the build folder, once.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/generated_rate_file.h"
#include "bench/process_run.h"
#include "commodities/catalogue.h"
#include "location/states.h"
#include "storage/worksheet_file_format.h"
#include "worksheet/worksheet.h"

namespace {

namespace fs = std::filesystem;
using namespace kbt2::bench;

// The n-th worksheet: county n mod 36, incomes that pass every check, and
// `commodities` rows of catalogue commodities with amounts.
std::string worksheetText(long n, int commodities) {
    using kbt2::Control;
    kbt2::Worksheet ws;
    const auto counties = kbt2::counties();
    const kbt2::CountyInfo& county = counties[static_cast<size_t>(n) % counties.size()];
    for (const kbt2::StateInfo& state : kbt2::states())
        if (state.counties == county.array) ws.select({Control::St, state.index});
    ws.select({county.array, county.index});
    for (int year = 0; year < 5; ++year) {
        ws.setText({Control::Allinc1, year}, std::to_string(100000 + 7000 * year + n % 997));
        ws.setText({Control::Allexp1, year}, std::to_string(40000 + 1000 * year));
    }
    const auto entries = kbt2::catalogue();
    for (int i = 0; i < commodities; ++i) {
        const kbt2::CommodityEntry& entry = entries[static_cast<size_t>(n * 7 + i * 13) % entries.size()];
        ws.setText({Control::Cropname1, i}, std::string(entry.reportName));
        ws.setText({Control::Unit1, i}, std::to_string(entry.code));
        ws.setText({Control::Totamt1, i}, std::to_string(100 + (n + i) % 900));
        ws.setText({Control::Expval1, i}, std::to_string(2 + (n * i) % 40) + ".5");
    }
    return kbt2::formatWorksheetFile(ws);
}

// A folder of `count` worksheets; made once, then reused.
fs::path worksheetFolder(const std::string& name, long count, bool small) {
    const fs::path dir = fs::path(scratchFolder()) / name;
    const fs::path done = dir / "complete";
    if (fs::exists(done)) return dir;
    fs::remove_all(dir);
    fs::create_directories(dir);
    char file[32];
    for (long n = 0; n < count; ++n) {
        std::snprintf(file, sizeof file, "farm%06ld.wsk", n);
        std::ofstream(dir / file, std::ios::binary) << worksheetText(n, small ? 1 : static_cast<int>(n % 14) + 1);
    }
    std::ofstream(done) << count << '\n';
    return dir;
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 10000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string quote = binFolder() + "/kbt2-quote";
    const std::string sampleRates = binFolder() + "/../share/kbt2/Ratefile.prn";
    const fs::path rateDir = fs::path(scratchFolder()) / ("rates-" + std::to_string(lines));
    fs::create_directories(rateDir);
    const std::string bigRates = (rateDir / "Ratefile.prn").string();
    writeGeneratedRateFile(bigRates, lines);
    const std::string correctedRates = (rateDir / "Ratefile-corrected.prn").string();
    writeGeneratedRateFile(correctedRates, lines, 997);

    const std::string many = worksheetFolder("worksheets-10000", 10000, false).string();
    const std::string small10k = worksheetFolder("small-worksheets-10000", 10000, true).string();
    const std::string small100k = worksheetFolder("small-worksheets-100000", 100000, true).string();

    std::vector<std::string> cat{"/usr/bin/cat"};
    for (const auto& entry : fs::directory_iterator(many))
        if (entry.path().extension() == ".wsk") cat.push_back(entry.path().string());
    const Medians speed = medianRuns({cat,
                                      {"/usr/bin/wc", "-l", bigRates},
                                      {quote, "--rates", bigRates, many},
                                      {quote, "--rates", sampleRates, many},
                                      {quote, "--rates", correctedRates, "--compare", bigRates, many}},
                                     runs);
    enum { kCat, kWc, kLarge, kSample, kCompare };
    std::printf("kbt2-quote, 10,000 worksheets of 1 to 14 commodities; medians of %d runs\n", runs);
    const auto row = [&speed](const char* what, int i) {
        std::printf("  %-46s wall %8.1f ms   cpu %8.1f ms\n", what, speed.wallMs[i], speed.cpuMs[i]);
    };
    row("floor: cat of the 10,000 worksheets", kCat);
    row(("floor: wc -l of the " + std::to_string(lines) + "-line rate file").c_str(), kWc);
    row(("with the " + std::to_string(lines) + "-line rate file").c_str(), kLarge);
    row("with the sample rate file", kSample);
    row("--compare of two large rate files", kCompare);
    const auto ratio = [&speed](const char* what, double target, int run, std::vector<int> floor) {
        double wall = 0, cpu = 0;
        for (const int f : floor) wall += speed.wallMs[f], cpu += speed.cpuMs[f];
        std::printf("  %-46s wall %5.2fx   cpu %5.2fx   (target %.1fx of wall)\n", what, speed.wallMs[run] / wall,
                    speed.cpuMs[run] / cpu, target);
    };
    ratio("large rate file / (cat + wc -l)", 2.5, kLarge, {kCat, kWc});
    ratio("sample rate file / cat", 2.0, kSample, {kCat});
    ratio("--compare of two large / one large", 1.5, kCompare, {kLarge});
    std::printf("  rate file's share of the large run:            wall %5.1f%%   cpu %5.1f%%\n",
                100 * (speed.wallMs[kLarge] - speed.wallMs[kSample]) / speed.wallMs[kLarge],
                100 * (speed.cpuMs[kLarge] - speed.cpuMs[kSample]) / speed.cpuMs[kLarge]);

    const Medians memory = medianRuns({{quote, "--rates", sampleRates, small10k},  //
                                       {quote, "--rates", sampleRates, small100k}},
                                      1);
    std::printf("kbt2-quote peak resident memory, small worksheets, sample rate file:\n");
    std::printf("  10,000 worksheets:  %6ld KiB  (wall %.0f ms)\n", memory.peakKiB[0], memory.wallMs[0]);
    std::printf("  100,000 worksheets: %6ld KiB  (wall %.0f ms)\n", memory.peakKiB[1], memory.wallMs[1]);
    return 0;
}
