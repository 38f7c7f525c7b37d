// kbt2-quote as a whole process, as a user runs it, each run against a
// floor the system's own tools set in the same turns, on two kinds of rate
// table: a national one (every state, the plan's five states about 1 % of
// the records) and a dense one (every record one of the plan's states):
//
// - one worksheet against `wc -l` of the table: target 1.5x;
// - 10,000 worksheets (1 to 14 commodities each, spread over all 36
//   counties) against `cat` of the worksheets plus `wc -l` of the table:
//   targets 1.3x national, 1.5x dense;
// - --details on those 10,000 against the same run without: target 1.3x;
// - 2,000 renewal letters (--summaries with --compare of a corrected release)
//   against `tee` writing as many copies of one letter's bytes, plus `wc -l`
//   of the two tables the run reads first: target 3x;
// - --compare of two national tables against one plain run: target 1.5x;
// - the peak resident memory on 10,000 and on 100,000 small worksheets (one
//   commodity each) with the sample rate file, which must not grow with
//   their number.
//
//     kbt2_quote_bench [--lines N] [--runs N] [--worksheets N] [--letters N]
//
// Defaults: 10,000,000 lines, 3 runs, 10,000 worksheets, 2,000 letters; a
// smaller --lines makes a quick run. Everything generated goes to
// bench-scratch/ of the build folder, once.

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// The worksheets of a folder, as `cat` gets them.
std::vector<std::string> catOf(const std::string& folder) {
    std::vector<std::string> cat{"/usr/bin/cat"};
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".wsk") cat.push_back(entry.path().string());
    return cat;
}

struct Sizes {
    long lines = 10000000;
    int runs = 3;
    long worksheets = 10000;
    long letters = 2000;
};

Sizes sizesOf(int argc, char** argv) {
    Sizes sizes;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&] {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a number\n", arg.c_str());
                std::exit(2);
            }
            return std::atol(argv[++i]);
        };
        if (arg == "--lines")
            sizes.lines = value();
        else if (arg == "--runs")
            sizes.runs = static_cast<int>(value());
        else if (arg == "--worksheets")
            sizes.worksheets = value();
        else if (arg == "--letters")
            sizes.letters = value();
        else if (positional++ == 0)  // the old form: LINES [RUNS]
            sizes.lines = std::atol(arg.c_str());
        else
            sizes.runs = std::atoi(arg.c_str());
    }
    if (sizes.lines < 1 || sizes.runs < 1 || sizes.worksheets < 1 || sizes.letters < 1) {
        std::fprintf(stderr, "usage: kbt2_quote_bench [--lines N] [--runs N] [--worksheets N] [--letters N]\n");
        std::exit(2);
    }
    return sizes;
}

void row(const Medians& m, int i, const std::string& what) {
    std::printf("  %-52s wall %9.1f ms   cpu %9.1f ms\n", what.c_str(), m.wallMs[i], m.cpuMs[i]);
}

void ratio(const Medians& m, const std::string& what, double target, int run, std::vector<int> floor) {
    double wall = 0, cpu = 0;
    for (const int f : floor) wall += m.wallMs[f], cpu += m.cpuMs[f];
    const double r = m.wallMs[run] / wall;
    std::printf("  %-52s wall %5.2fx   cpu %5.2fx   (target %.1fx of wall: %s)\n", what.c_str(), r, m.cpuMs[run] / cpu,
                target, r <= target ? "met" : "NOT met");
}

// The ratios of one kind of table.
void kindOfTable(const char* kind, TableKind table, const Sizes& sizes, const std::vector<std::string>& plan,
                 const std::string& quote, const std::string& many, const std::string& one,
                 const std::string& letters) {
    const fs::path rateDir = fs::path(scratchFolder()) / (std::string(kind) + "-" + std::to_string(sizes.lines));
    fs::create_directories(rateDir);
    const std::string rates = (rateDir / "Ratefile.prn").string();
    const std::string correctedRates = (rateDir / "Ratefile-corrected.prn").string();
    writeKindOfRateFile(rates, table, sizes.lines, plan, false);
    writeKindOfRateFile(correctedRates, table, sizes.lines, plan, true);
    const fs::path pdfs = fs::path(scratchFolder()) / (std::string("letters-") + kind);
    fs::remove_all(pdfs);
    fs::create_directories(pdfs);

    // One letter's bytes, from a run of the letters made for the purpose; the
    // floor writes as many copies of them as there are letters in one process.
    const std::vector<std::string> lettersRun{quote, "--rates",     correctedRates, "--compare",
                                              rates, "--summaries", pdfs.string(),  letters};
    if (runProcess(lettersRun).status > 1) {
        std::fprintf(stderr, "kbt2-quote could not write the letters\n");
        std::exit(1);
    }
    std::vector<std::string> tee{"/usr/bin/tee"};
    std::string oneLetter;
    for (const auto& entry : fs::directory_iterator(pdfs)) {
        if (oneLetter.empty()) oneLetter = entry.path().string();
        tee.push_back((pdfs / ("copy-" + entry.path().filename().string())).string());
    }
    // A worksheet whose premium the correction leaves as it was, or that
    // stops, gets no letter: the floor writes as many copies as there are letters.
    const long written = static_cast<long>(tee.size()) - 1;
    if (written == 0) {
        std::fprintf(stderr, "kbt2-quote wrote no letter\n");
        std::exit(1);
    }
    const std::string letterCopy = (fs::path(scratchFolder()) / (std::string("one-letter-") + kind + ".pdf")).string();
    fs::copy_file(oneLetter, letterCopy, fs::copy_options::overwrite_existing);

    const std::vector<std::string> plainJson{quote, "--format", "jsonl", "--rates", rates, many};
    std::vector<std::string> detailsJson = plainJson;
    detailsJson.insert(detailsJson.begin() + 3, "--details");
    const Medians m = medianRuns({{"/usr/bin/wc", "-l", rates},
                                  {"/usr/bin/wc", "-l", correctedRates},
                                  {quote, "--rates", rates, one},
                                  catOf(many),
                                  {quote, "--rates", rates, many},
                                  plainJson,
                                  detailsJson,
                                  Program(tee, letterCopy),
                                  lettersRun,
                                  {quote, "--rates", correctedRates, "--compare", rates, many}},
                                 sizes.runs);
    enum { kWc, kWcCorrected, kOne, kCat, kMany, kPlainJson, kDetails, kTee, kLetters, kCompare };
    const std::string lines = std::to_string(sizes.lines) + "-line " + kind + " table";
    const std::string worksheets = std::to_string(sizes.worksheets) + " worksheets";
    const std::string letterCount = std::to_string(written) + " letters of " + std::to_string(sizes.letters);
    std::printf("%s; medians of %d runs\n", lines.c_str(), sizes.runs);
    row(m, kWc, "floor: wc -l of the table");
    row(m, kWcCorrected, "floor: wc -l of the corrected table");
    row(m, kCat, "floor: cat of the " + worksheets);
    row(m, kTee, "floor: tee of one letter to " + std::to_string(written) + " files");
    row(m, kOne, "one worksheet");
    row(m, kMany, worksheets);
    row(m, kPlainJson, worksheets + ", JSON lines");
    row(m, kDetails, worksheets + ", JSON lines with --details");
    row(m, kLetters, letterCount + " (--summaries, --compare)");
    row(m, kCompare, worksheets + ", --compare");
    ratio(m, "one worksheet / wc -l", 1.5, kOne, {kWc});
    ratio(m, worksheets + " / (cat + wc -l)", table == TableKind::National ? 1.3 : 1.5, kMany, {kCat, kWc});
    ratio(m, "--details / plain, " + worksheets, 1.3, kDetails, {kPlainJson});
    // The letters' run reads both tables before its first letter: their
    // reading is in its floor as well as the writing of the letters' bytes.
    ratio(m, letterCount + " / (tee + wc -l of both tables)", 3.0, kLetters, {kTee, kWc, kWcCorrected});
    ratio(m, "--compare / one table, " + worksheets, 1.5, kCompare, {kMany});
}

}  // namespace

int main(int argc, char** argv) {
    const Sizes sizes = sizesOf(argc, argv);
    // tee holds every copy open at once.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    const std::string quote = binFolder() + "/kbt2-quote";
    const std::string sampleRates = binFolder() + "/../share/kbt2/Ratefile.prn";
    const std::vector<std::string> plan = planRecords(sampleRates);

    const std::string many =
        worksheetFolder("worksheets-" + std::to_string(sizes.worksheets), sizes.worksheets, false).string();
    const std::string letters =
        worksheetFolder("worksheets-" + std::to_string(sizes.letters), sizes.letters, false).string();
    const std::string one = (fs::path(many) / "farm000005.wsk").string();
    const std::string small10k = worksheetFolder("small-worksheets-10000", 10000, true).string();
    const std::string small100k = worksheetFolder("small-worksheets-100000", 100000, true).string();

    std::printf("kbt2-quote against its floors; worksheets of 1 to 14 commodities\n");
    kindOfTable("national", TableKind::National, sizes, plan, quote, many, one, letters);
    kindOfTable("dense", TableKind::Dense, sizes, plan, quote, many, one, letters);

    const Medians memory = medianRuns({{quote, "--rates", sampleRates, small10k},  //
                                       {quote, "--rates", sampleRates, small100k}},
                                      1);
    std::printf("kbt2-quote peak resident memory, small worksheets, sample rate file:\n");
    std::printf("  10,000 worksheets:  %6ld KiB  (wall %.0f ms)\n", memory.peakKiB[0], memory.wallMs[0]);
    std::printf("  100,000 worksheets: %6ld KiB  (wall %.0f ms)\n", memory.peakKiB[1], memory.wallMs[1]);
    return 0;
}
